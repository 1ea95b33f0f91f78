#pragma once

#include <QString>

// An exclusive lock between processes on a lock file beside the data it
// guards. The kernel holds the lock (flock), so it ends with its owner's
// process: whatever a crash leaves in the file (nothing, another PID, another
// host's name) never keeps anyone out. The file is removed on release.
class FileLock {
public:
    explicit FileLock(const QString& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits up to timeoutMs for another process to release the lock; false
    // when it did not, or when the lock file cannot be made.
    bool tryLock(int timeoutMs);
    void unlock();
    bool isLocked() const { return m_fd >= 0; }

private:
    enum class Attempt { Held, Busy, Failed };
    // One attempt; Held when the lock is held on the file the path names now,
    // Failed when waiting cannot help (the lock file cannot be made).
    Attempt tryOnce();

    QString m_path;
    int m_fd = -1;
};
