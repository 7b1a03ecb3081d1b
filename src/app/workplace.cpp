// SPDX-License-Identifier: GPL-2.0-or-later
#include "workplace.h"

#include "files/setsave.h"
#include "pages/messages.h"
#include "store/datafolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QWidget>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace brevan::app {

namespace {

const QByteArray kRaise = "mostra\n";
const QByteArray kDone = "ok\n";

// The address the program working in a data folder answers at: a socket in
// Linux's abstract namespace (no file to leave behind), one per user and
// data folder.
sockaddr_un addressOf(const QString &dataFolder, socklen_t *length)
{
    const QByteArray key = QFile::encodeName(QFileInfo(dataFolder).absoluteFilePath());
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(24);
    const QByteArray name = "brevan-" + QByteArray::number(::getuid()) + "-" + digest;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
    *length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return address;
}

// Waits for fd to be readable; false on time-out or error.
bool waitReadable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    int rc;
    do {
        rc = ::poll(&p, 1, timeoutMs);
    } while (rc < 0 && errno == EINTR);
    return rc > 0;
}

QByteArray readLine(int fd, int timeoutMs)
{
    QByteArray line;
    char buffer[32];
    while (!line.endsWith('\n') && line.size() < 64) {
        if (!waitReadable(fd, timeoutMs))
            break;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, n);
    }
    return line;
}

void writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

WorkPlace::WorkPlace(QWidget *window) : QObject(window), m_window(window) {}

WorkPlace::~WorkPlace()
{
    close();
}

QString WorkPlace::inUseText(const QString &dataFolder)
{
    return QStringLiteral("La cartella dei dati \"%1\" è già in uso da un altro programma Brevan.\n"
                          "Questa finestra lavora con tabelle di lavoro proprie: la stima si salva come sempre.")
        .arg(native(dataFolder));
}

QString WorkPlace::unusableText(const QString &dataFolder, const QString &why)
{
    return QStringLiteral("La cartella dei dati \"%1\" non è utilizzabile:\n%2\n"
                          "Per questa sessione le tabelle di lavoro sono tenute in una cartella temporanea: "
                          "la stima si può salvare in qualunque cartella scrivibile.")
        .arg(native(dataFolder), why);
}

QString WorkPlace::handedOverText(const QString &dataFolder)
{
    return QStringLiteral("Brevan è già aperto sulla cartella dei dati \"%1\":\n"
                          "viene mostrata la finestra già aperta.")
        .arg(native(dataFolder));
}

void WorkPlace::open()
{
    QString folder;
    try {
        CreaAlias(kAliasBrevan);
        folder = dataFolder();
        const FolderLock::Result lock = m_lock.acquire(folder);
        if (lock == FolderLock::Result::Locked) {
            // What a run that did not end normally left half-written.
            files::recoverFolder(folder);
            rebuildWorkingTables();
            listen(folder);
            return;
        }
        if (lock == FolderLock::Result::Unusable)
            throw StoreError(QStringLiteral("Impossibile scrivere nella cartella \"%1\".").arg(native(folder)));
        ui::Messages::warning(m_window, inUseText(folder));
    } catch (const std::exception &e) {
        m_lock.release();
        if (folder.isEmpty())
            folder = AliasRegistry::folder(kAliasBrevan);
        if (folder.isEmpty()) // the folder a first start would have registered
            folder = QDir(QDir::currentPath()).filePath(QStringLiteral("Dati"));
        ui::Messages::error(m_window, unusableText(folder, QString::fromUtf8(e.what())));
    }
    usePrivateFolder();
}

void WorkPlace::usePrivateFolder()
{
    m_private = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/brevan-lavoro-XXXXXX"));
    if (!m_private->isValid())
        throw StoreError(QStringLiteral("Impossibile creare una cartella temporanea per le tabelle di lavoro."));
    // The unit rents of the municipality last handled, as the data folder
    // holds them, for the rent lookup before the first municipality change.
    QString shared;
    try {
        shared = dataPath(kCanoniLocazUnitari);
    } catch (const std::exception &) {
    }
    setWorkingFolder(m_private->path());
    if (!shared.isEmpty() && Table::exists(shared)) {
        try {
            Table::copy(shared, dataPath(kCanoniLocazUnitari), unitRentsLayout());
        } catch (const std::exception &) {
            // Not readable: the lookup meets no table, as in a first run.
        }
    }
    rebuildWorkingTables();
}

void WorkPlace::listen(const QString &dataFolder)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    socklen_t length = 0;
    const sockaddr_un address = addressOf(dataFolder, &length);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0 || ::listen(fd, 4) != 0) {
        // Not answering: a second start then works on tables of its own.
        qWarning("WorkPlace: %s", std::strerror(errno));
        ::close(fd);
        return;
    }
    m_server = fd;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        const int client = ::accept4(m_server, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            return;
        // Only this user's programs are answered.
        ucred peer{};
        socklen_t size = sizeof peer;
        const bool sameUser = ::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
        const bool asked = sameUser && readLine(client, 1000) == kRaise;
        if (asked)
            writeAll(client, kDone);
        ::close(client);
        if (!asked)
            return;
        if (m_window) {
            m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
            m_window->show();
            m_window->raise();
            m_window->activateWindow();
        }
        Q_EMIT raiseRequested();
    });
}

void WorkPlace::close()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_server >= 0) {
        ::close(m_server);
        m_server = -1;
    }
    m_lock.release();
    if (m_private) {
        setWorkingFolder({});
        m_private.reset();
    }
}

bool WorkPlace::raiseRunningProgram(const QString &dataFolder, int timeoutMs)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    socklen_t length = 0;
    const sockaddr_un address = addressOf(dataFolder, &length);
    bool answered = false;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0) {
        writeAll(fd, kRaise);
        answered = readLine(fd, timeoutMs) == kDone;
    }
    ::close(fd);
    return answered;
}

bool handOverToRunningProgram()
{
    const QString folder = AliasRegistry::folder(kAliasBrevan);
    if (folder.isEmpty() || !FolderLock::isHeldElsewhere(folder))
        return false;
    if (!WorkPlace::raiseRunningProgram(folder))
        return false;
    ui::Messages::warning(nullptr, WorkPlace::handedOverText(folder));
    return true;
}

} // namespace brevan::app
