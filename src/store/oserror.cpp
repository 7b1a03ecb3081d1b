// SPDX-License-Identifier: GPL-2.0-or-later
#include "oserror.h"

#include <QFileDevice>

#include <cerrno>
#include <cstring>

namespace brevan {

namespace {

struct ErrorText {
    int number;
    const char *english; // as Qt writes it, where Qt has its own text (its
                         // translation gives the Italian text below)
    const char *italian;
};

// The errors a file operation can meet on a desktop.
constexpr ErrorText kErrors[] = {
    {EPERM, nullptr, "Operazione non permessa"},
    {ENOENT, "No such file or directory", "File o cartella non trovati"},
    {EIO, nullptr, "Errore di lettura o scrittura sul dispositivo"},
    {EACCES, "Permission denied", "Permesso negato"},
    {EBUSY, nullptr, "Dispositivo o risorsa occupata"},
    {EEXIST, nullptr, "Il file esiste già"},
    {EXDEV, nullptr, "Collegamento tra dispositivi diversi non consentito"},
    {ENOTDIR, nullptr, "Non è una cartella"},
    {EISDIR, nullptr, "È una cartella"},
    {EINVAL, nullptr, "Argomento non valido"},
    {ENFILE, nullptr, "Troppi file aperti nel sistema"},
    {EMFILE, "Too many open files", "Troppi file aperti"},
    {EFBIG, nullptr, "File troppo grande"},
    {ENOSPC, "No space left on device", "Spazio esaurito sul dispositivo"},
    {EROFS, nullptr, "File system in sola lettura"},
    {ENAMETOOLONG, nullptr, "Nome del file troppo lungo"},
    {ENOTEMPTY, nullptr, "Cartella non vuota"},
    {ELOOP, nullptr, "Troppi livelli di collegamenti simbolici"},
    {EDQUOT, nullptr, "Quota del disco superata"},
    {ENOMEM, nullptr, "Memoria insufficiente"},
    {EAGAIN, nullptr, "Risorsa temporaneamente non disponibile"},
    {ETXTBSY, nullptr, "File in uso"},
    {ESTALE, nullptr, "File di rete non più valido"},
    {ENODEV, nullptr, "Dispositivo inesistente"},
    {ENXIO, nullptr, "Dispositivo o indirizzo inesistente"},
};

QString libraryText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err)).trimmed();
}

} // namespace

QString systemErrorText(int err)
{
    for (const ErrorText &e : kErrors) {
        if (e.number == err)
            return QString::fromUtf8(e.italian);
    }
    return libraryText(err);
}

QString fileErrorText(const QFileDevice &file)
{
    const QString text = file.errorString().trimmed();
    for (const ErrorText &e : kErrors) {
        if ((e.english && text == QLatin1String(e.english)) || text == libraryText(e.number))
            return QString::fromUtf8(e.italian);
    }
    return text;
}

} // namespace brevan
