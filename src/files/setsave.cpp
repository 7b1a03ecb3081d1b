// SPDX-License-Identifier: GPL-2.0-or-later
#include "setsave.h"

#include "store/tablestore.h"
#include "store/oserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brevan::files {

namespace {

const QString kStagingPrefix = QStringLiteral(".brevan-salvataggio-");
const QString kManifest = QStringLiteral("manifest");
const QString kManifestDraft = QStringLiteral("manifest.tmp");
const QString kFormat = QStringLiteral("brevan-salvataggio");
constexpr int kFormatVersion = 1;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

[[noreturn]] void cannotWrite(const QString &path, int err)
{
    throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2").arg(native(path), systemErrorText(err)));
}

// lstat: a symbolic link is never taken for the file or folder it names.
bool isRegularFile(const QString &path)
{
    struct stat st {};
    return ::lstat(encoded(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isFolder(const QString &path)
{
    struct stat st {};
    return ::lstat(encoded(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const QString &path)
{
    struct stat st {};
    return ::lstat(encoded(path).constData(), &st) == 0;
}

// An exclusive lock on the staging folder for as long as its save runs; the
// kernel lets go of it when the process ends, however it ends. -1 when the
// folder is locked by a save still running (or cannot be opened). On a file
// system without locks (some network shares) the folder counts as unlocked.
int lockFolder(const QString &path)
{
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void unlockFolder(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

void writeManifest(const QString &staging, const QStringList &names)
{
    QJsonObject manifest;
    manifest.insert(QStringLiteral("formato"), kFormat);
    manifest.insert(QStringLiteral("versione"), kFormatVersion);
    manifest.insert(QStringLiteral("file"), QJsonArray::fromStringList(names));
    const QByteArray bytes = QJsonDocument(manifest).toJson(QJsonDocument::Compact);

    const QString draft = staging + QLatin1Char('/') + kManifestDraft;
    const int fd = ::open(encoded(draft).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        cannotWrite(draft, errno);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : EIO;
            ::close(fd);
            cannotWrite(draft, err);
        }
        written += n;
    }
    if (::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        cannotWrite(draft, err);
    }
    ::close(fd);
    const QString manifestPath = staging + QLatin1Char('/') + kManifest;
    if (std::rename(encoded(draft).constData(), encoded(manifestPath).constData()) != 0)
        cannotWrite(manifestPath, errno);
    syncPath(staging);
}

// The names a committed save puts in place, in order; empty when the staging
// folder holds no complete manifest (the save never committed) or one that
// names anything but plain files of the folder.
QStringList readManifest(const QString &staging)
{
    QFile file(staging + QLatin1Char('/') + kManifest);
    if (!isRegularFile(file.fileName()) || !file.open(QIODevice::ReadOnly))
        return {};
    const QJsonObject manifest = QJsonDocument::fromJson(file.read(1 << 20)).object();
    if (manifest.value(QStringLiteral("formato")).toString() != kFormat
        || manifest.value(QStringLiteral("versione")).toInt() != kFormatVersion)
        return {};
    QStringList names;
    for (const QJsonValue &v : manifest.value(QStringLiteral("file")).toArray()) {
        const QString name = v.toString();
        if (!isPlainFileName(name) || name == kManifest || name == kManifestDraft)
            return {};
        names << name;
    }
    return names;
}

// Renames every staged file over its target, in order. A file no longer in
// the staging folder was put in place before an interruption.
void rollForward(const QString &staging, const QString &folder, const QStringList &names)
{
    for (const QString &name : names) {
        const QString from = staging + QLatin1Char('/') + name;
        if (!exists(from))
            continue;
        if (!isRegularFile(from))
            throw StoreError(QStringLiteral("Il file \"%1\" non è un file regolare.").arg(native(from)));
        const QString to = folder + QLatin1Char('/') + name;
        // A journal left beside the earlier table would be rolled back into
        // the new one the next time it is opened.
        QFile::remove(to + QStringLiteral("-journal"));
        if (std::rename(encoded(from).constData(), encoded(to).constData()) != 0)
            cannotWrite(to, errno);
    }
    syncPath(folder);
}

} // namespace

void syncPath(const QString &path)
{
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        cannotWrite(path, errno);
    const int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; its entries are as safe as
    // that file system makes them.
    if (rc != 0 && err != EINVAL && err != ENOTSUP)
        cannotWrite(path, err);
}

bool isTemporaryName(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(?:\\.brevan-salvataggio-[A-Za-z0-9]{6}"
                       "|\\.brevan-[A-Za-z0-9]{6}\\.db(?:-journal)?"
                       "|\\..+\\.db\\.[A-Za-z0-9]{6}(?:-journal)?)$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(fileName).hasMatch();
}

SetSave::SetSave(const QString &folder) : m_folder(QFileInfo(folder).absoluteFilePath())
{
    recoverFolder(m_folder);
    if (!isFolder(m_folder))
        throw StoreError(QStringLiteral("La cartella \"%1\" non esiste.").arg(native(m_folder)));
    QTemporaryDir staging(m_folder + QLatin1Char('/') + kStagingPrefix + QStringLiteral("XXXXXX"));
    if (!staging.isValid())
        throw StoreError(QStringLiteral("Impossibile scrivere nella cartella \"%1\".").arg(native(m_folder)));
    staging.setAutoRemove(false);
    m_staging = staging.path();
    m_lock = lockFolder(m_staging);
    if (m_lock < 0) {
        QDir(m_staging).removeRecursively();
        throw StoreError(QStringLiteral("Impossibile scrivere nella cartella \"%1\".").arg(native(m_folder)));
    }
}

SetSave::~SetSave()
{
    // A committed save that could not be put wholly in place stays for the
    // next recovery to finish; anything else is thrown away.
    if (!m_committed)
        QDir(m_staging).removeRecursively();
    unlockFolder(m_lock);
}

QString SetSave::stage(const QString &name)
{
    if (!isPlainFileName(name) || name == kManifest || name == kManifestDraft)
        throw StoreError(QStringLiteral("Il nome \"%1\" non è un nome di file valido.").arg(name));
    if (m_names.contains(name))
        throw StoreError(QStringLiteral("Il file \"%1\" compare due volte nel salvataggio.").arg(name));
    m_names << name;
    return m_staging + QLatin1Char('/') + name;
}

void SetSave::commit()
{
    for (const QString &name : std::as_const(m_names)) {
        const QString staged = m_staging + QLatin1Char('/') + name;
        if (!isRegularFile(staged))
            throw StoreError(QStringLiteral("Il file \"%1\" non è stato scritto.").arg(native(staged)));
        // A target that cannot be replaced by a file is found now, while the
        // earlier set is still whole.
        const QString target = m_folder + QLatin1Char('/') + name;
        if (exists(target) && !isRegularFile(target))
            throw StoreError(QStringLiteral("Impossibile sostituire \"%1\".").arg(native(target)));
        syncPath(staged);
    }
    syncPath(m_staging);
    // The staging folder's own entry, so that a manifest on the disk is
    // always found.
    syncPath(m_folder);
    writeManifest(m_staging, m_names);
    m_committed = true;
    rollForward(m_staging, m_folder, m_names);
    QDir(m_staging).removeRecursively();
}

FolderRecovery recoverFolder(const QString &folder)
{
    FolderRecovery done;
    const QDir dir(folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : entries) {
        if (!isTemporaryName(name))
            continue;
        const QString path = dir.filePath(name);
        if (name.startsWith(kStagingPrefix)) {
            if (!isFolder(path))
                continue;
            const int lock = lockFolder(path);
            if (lock < 0)
                continue; // a save still running
            const QStringList names = readManifest(path);
            try {
                if (!names.isEmpty()) {
                    rollForward(path, dir.absolutePath(), names);
                    ++done.finished;
                } else {
                    ++done.discarded;
                }
                QDir(path).removeRecursively();
            } catch (const std::exception &e) {
                qWarning("recoverFolder: %s", e.what());
            }
            unlockFolder(lock);
        } else if (isRegularFile(path) && QFile::remove(path)) {
            ++done.leftovers;
        }
    }
    return done;
}

} // namespace brevan::files
