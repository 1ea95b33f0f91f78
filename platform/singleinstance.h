#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// Keeps one instance running per device folder. The first instance holds a
// lock file there and listens on a local socket; a later one finds the lock
// taken and asks the first, over the socket, to come to the front.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& deviceRoot, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first instance (it then listens for raise requests).
    bool TryAcquire();
    // Asks the running instance to raise its window; false when it cannot be reached.
    bool AskToRaise();

signals:
    void raiseRequested();

private:
    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
