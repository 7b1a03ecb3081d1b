#include "wholefile.h"

#include "store/foldersync.h"
#include "store/oserror.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace brevan::files {

namespace {

bool failed(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

// Into a terminal, a pipe or a device: unbuffered, so that each write's
// failure (a full device, a closed pipe) is seen at once.
bool writeInto(const QString &path, const QByteArray &bytes, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(why, fileErrorText(file));
    if (file.write(bytes) != bytes.size())
        return failed(why, fileErrorText(file));
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failed(why, fileErrorText(file));
    return true;
}

} // namespace

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *why)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return writeInto(path, bytes, why);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(why, fileErrorText(file));
    if (file.write(bytes) != bytes.size()) {
        const QString text = fileErrorText(file);
        file.cancelWriting();
        return failed(why, text);
    }
    if (!file.commit())
        return failed(why, fileErrorText(file));
    syncFolderEntries(target.absolutePath());
    return true;
}

} // namespace brevan::files
