// SPDX-License-Identifier: GPL-2.0-or-later
#include "keeporiginal.h"

#include "paradoxtable.h"
#include "store/tablestore.h"
#include "store/oserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace brevan::legacy {

namespace {

// The extensions of the files that make up a Paradox table besides its ".db".
bool isCompanionExtension(const QString &extension)
{
    static const QRegularExpression companion(QStringLiteral("^(px|mb|val|tv|[xy][0-9a-f]{2}|[xy]g[0-9a-f])$"),
                                              QRegularExpression::CaseInsensitiveOption);
    return companion.match(extension).hasMatch();
}

bool sameContent(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kChunk = 64 * 1024;
    while (!fa.atEnd()) {
        if (fa.read(kChunk) != fb.read(kChunk))
            return false;
    }
    return fb.atEnd();
}

[[noreturn]] void cannotKeep(const QString &path, const QString &why)
{
    throw StoreError(QStringLiteral("Impossibile conservare l'originale Paradox \"%1\": %2")
                         .arg(QDir::toNativeSeparators(path), why));
}

// Copies one file beside itself; returns the copy's bare name, or an empty
// text when an identical copy is already there.
QString keepFile(const QString &source)
{
    const QFileInfo info(source);
    const QDir dir = info.dir();
    constexpr int kMaxNumber = 999;
    QString name = info.fileName() + kParadoxSuffix;
    for (int n = 2; dir.exists(name); ++n) {
        if (sameContent(source, dir.filePath(name)))
            return {};
        if (n > kMaxNumber)
            cannotKeep(source, QStringLiteral("troppe copie precedenti"));
        name = QStringLiteral("%1.%2%3").arg(info.fileName()).arg(n).arg(kParadoxSuffix);
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        cannotKeep(source, fileErrorText(in));
    QSaveFile out(dir.filePath(name));
    if (!out.open(QIODevice::WriteOnly))
        cannotKeep(source, fileErrorText(out));
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(64 * 1024);
        if (in.error() != QFileDevice::NoError)
            cannotKeep(source, fileErrorText(in));
        if (out.write(chunk) != chunk.size())
            cannotKeep(source, fileErrorText(out));
    }
    if (!out.commit())
        cannotKeep(source, fileErrorText(out));
    // The copy keeps the original's date, so the archive still tells when
    // the table was last changed.
    QFile copy(dir.filePath(name));
    if (copy.open(QIODevice::ReadWrite))
        copy.setFileTime(info.lastModified(), QFileDevice::FileModificationTime);
    return name;
}

} // namespace

QStringList keepParadoxOriginal(const QString &path)
{
    if (!isParadoxTable(path))
        return {};
    const QFileInfo info(path);
    QStringList files{info.absoluteFilePath()};
    const QString stem = info.completeBaseName() + QLatin1Char('.');
    const QStringList entries = info.dir().entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.size() > stem.size() && entry.startsWith(stem, Qt::CaseInsensitive)
            && isCompanionExtension(entry.mid(stem.size())))
            files << info.dir().filePath(entry);
    }
    QStringList kept;
    for (const QString &file : files) {
        const QString name = keepFile(file);
        if (!name.isEmpty())
            kept << name;
    }
    return kept;
}

QString keptOriginalsNote(const QStringList &keptNames)
{
    // Short enough for the status bar, whatever the appraisal's name.
    if (keptNames.size() == 1)
        return QStringLiteral("L'originale Paradox è conservato come \"%1\".").arg(keptNames.constFirst());
    return QStringLiteral("Gli originali Paradox sono conservati accanto ai nuovi file con il suffisso \".paradox\" "
                          "(%1 file).")
        .arg(keptNames.size());
}

} // namespace brevan::legacy
