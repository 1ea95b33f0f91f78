#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// Keeps one instance running per device folder. The first instance holds a
// lock file there and listens on a local socket; a later one finds the lock
// taken and asks the first, over the socket, to come to the front, and to
// open the file it was started with, if any.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& deviceRoot, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Start {
        First,      // this instance holds the lock and listens for requests
        AnotherRuns, // a running instance answers on its socket
        Failed,     // no lock could be made (the device folder cannot be written)
    };
    // Takes the lock. A lock whose owner does not answer is left over from
    // a crash (empty, garbled, another host's, even a folder) and is taken over.
    Start Acquire();
    // Asks the running instance to raise its window; false when it cannot be reached.
    bool AskToRaise();
    // Asks the running instance to open a file (and so to come forward).
    bool AskToOpen(const QString& path);

signals:
    void raiseRequested();
    void openRequested(const QString& path);

private:
    bool Send(const QByteArray& message);
    bool TryLock();
    // Whether a running instance answers on the socket.
    bool Answers() const;
    void Listen();
    // Acts on the whole lines received so far.
    void Take(QByteArray& received);

    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
