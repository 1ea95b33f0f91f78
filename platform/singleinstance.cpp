#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace {

const QByteArray kRaise = "raise\n";

} // namespace

SingleInstance::SingleInstance(const QString& deviceRoot, QObject* parent)
    : QObject(parent)
    , m_lockPath(deviceRoot + QStringLiteral("/Quillon.lock"))
{
    const QByteArray hash = QCryptographicHash::hash(QDir(deviceRoot).absolutePath().toUtf8(), QCryptographicHash::Sha1);
    m_serverName = QStringLiteral("quillon-") + QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::TryAcquire()
{
    QDir().mkpath(QFileInfo(m_lockPath).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Only a live owner keeps the lock; a dead one's is taken over at once.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        return false;
    }
    QLocalServer::removeServer(m_serverName); // a socket left behind by a crash
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kRaise))
                    emit raiseRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server->listen(m_serverName);
    return true;
}

bool SingleInstance::AskToRaise()
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(2000))
        return false;
    socket.write(kRaise);
    const bool sent = socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
    return sent;
}
