#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <memory>

namespace {

// One request a line: "raise", or "open " and the percent-encoded UTF-8 path.
const QByteArray kRaise = "raise\n";
const QByteArray kOpen = "open ";

} // namespace

SingleInstance::SingleInstance(const QString& deviceRoot, QObject* parent)
    : QObject(parent)
    , m_lockPath(deviceRoot + QStringLiteral("/Quillon.lock"))
{
    const QByteArray hash = QCryptographicHash::hash(QDir(deviceRoot).absolutePath().toUtf8(), QCryptographicHash::Sha1);
    m_serverName = QStringLiteral("quillon-") + QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::TryLock()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // Only a live owner keeps the lock; a dead one's is taken over at once.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    m_lock.reset();
    return false;
}

bool SingleInstance::Answers() const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    return socket.waitForConnected(1000);
}

SingleInstance::Start SingleInstance::Acquire()
{
    QDir().mkpath(QFileInfo(m_lockPath).absolutePath());
    if (TryLock()) {
        Listen();
        return Start::First;
    }
    if (Answers())
        return Start::AnotherRuns;
    // Nobody answers: what is there was left by a crash. It is taken over
    // once; should that fail, another start won the race or the folder is
    // not ours to write.
    if (QFileInfo(m_lockPath).isDir())
        QDir(m_lockPath).removeRecursively();
    else
        QFile::remove(m_lockPath);
    if (TryLock()) {
        Listen();
        return Start::First;
    }
    return Answers() ? Start::AnotherRuns : Start::Failed;
}

void SingleInstance::Listen()
{
    QLocalServer::removeServer(m_serverName); // a socket left behind by a crash
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            auto received = std::make_shared<QByteArray>();
            connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
                // A request may arrive in pieces: only whole lines are acted on.
                received->append(socket->readAll());
                Take(*received);
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server->listen(m_serverName);
}

void SingleInstance::Take(QByteArray& received)
{
    for (qsizetype end = received.indexOf('\n'); end >= 0; end = received.indexOf('\n')) {
        const QByteArray line = received.left(end);
        received.remove(0, end + 1);
        if (line + '\n' == kRaise)
            emit raiseRequested();
        else if (line.startsWith(kOpen))
            emit openRequested(QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(kOpen.size()))));
    }
}

bool SingleInstance::AskToRaise()
{
    return Send(kRaise);
}

bool SingleInstance::AskToOpen(const QString& path)
{
    return Send(kOpen + path.toUtf8().toPercentEncoding() + '\n');
}

bool SingleInstance::Send(const QByteArray& message)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(2000))
        return false;
    socket.write(message);
    const bool sent = socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
    return sent;
}
