#include "platform/filelock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileLock::FileLock(const QString& path)
    : m_path(path)
{
}

FileLock::~FileLock()
{
    unlock();
}

FileLock::Attempt FileLock::tryOnce()
{
    const QByteArray name = QFile::encodeName(m_path);
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // Nothing a crash can leave is a folder; an empty one in the way is removed.
    if (fd < 0 && errno == EISDIR && QDir().rmdir(m_path))
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return Attempt::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK || errno == EINTR;
        ::close(fd);
        return busy ? Attempt::Busy : Attempt::Failed;
    }
    // The previous owner may have removed the file between our open and
    // lock; a lock on that orphan would not keep out whoever makes the next one.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || ::stat(name.constData(), &named) != 0 || held.st_dev != named.st_dev
        || held.st_ino != named.st_ino) {
        ::close(fd);
        return Attempt::Busy;
    }
    m_fd = fd;
    return Attempt::Held;
}

bool FileLock::tryLock(int timeoutMs)
{
    if (m_fd >= 0)
        return true;
    const QDeadlineTimer deadline(timeoutMs);
    int pause = 1;
    for (;;) {
        const Attempt attempt = tryOnce();
        if (attempt != Attempt::Busy)
            return attempt == Attempt::Held;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(qMin<qint64>(pause, deadline.remainingTime()));
        pause = qMin(pause * 2, 50);
    }
}

void FileLock::unlock()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so nobody can lock the name on its way out.
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
    m_fd = -1;
}
