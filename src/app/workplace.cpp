#include "workplace.h"

#include "files/setsave.h"
#include "pages/messages.h"
#include "store/datafolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QWidget>

#include <unistd.h>

namespace brevan::app {

namespace {

const QByteArray kRaise = "mostra\n";
const QByteArray kDone = "ok\n";

// One name per user and data folder.
QString serverName(const QString &dataFolder)
{
    const QByteArray key = QFile::encodeName(QFileInfo(dataFolder).absoluteFilePath());
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("brevan-%1-%2").arg(::getuid()).arg(QString::fromLatin1(digest));
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
    const QString name = serverName(dataFolder);
    // Holding the lock, nobody else may be answering under this name: a
    // socket file left by a crash is stale.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        qWarning("WorkPlace: %s", qPrintable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() != kRaise) {
                    socket->disconnectFromServer();
                    return;
                }
                socket->write(kDone);
                socket->flush();
                socket->disconnectFromServer();
                if (m_window) {
                    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
                    m_window->show();
                    m_window->raise();
                    m_window->activateWindow();
                }
                Q_EMIT raiseRequested();
            });
        }
    });
}

void WorkPlace::close()
{
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    m_lock.release();
    if (m_private) {
        setWorkingFolder({});
        m_private.reset();
    }
}

bool WorkPlace::raiseRunningProgram(const QString &dataFolder, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(dataFolder));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == kDone;
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
