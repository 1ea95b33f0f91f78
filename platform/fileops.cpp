#include "platform/fileops.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<FileError> RemoveFile(const QString& hostPath, const QString& displayPath)
{
    if (::unlink(QFile::encodeName(hostPath).constData()) == 0)
        return std::nullopt;
    return FileError{FileError::causeFromErrno(errno), displayPath};
}

bool CanOnlyWriteInPlace(const QString& hostPath)
{
    const QFileInfo file(hostPath);
    const QByteArray folder = QFile::encodeName(file.absolutePath());
    return file.isFile() && ::access(QFile::encodeName(hostPath).constData(), W_OK) == 0
        && ::access(folder.constData(), W_OK) != 0;
}

std::optional<FileError> WriteFileInPlace(const QString& hostPath, const QString& displayPath, const QByteArray& data,
                                          SymLinks links)
{
    auto failed = [&](int error) { return FileError{FileError::causeFromErrno(error), displayPath}; };
    const int noFollow = links == SymLinks::Refuse ? O_NOFOLLOW : 0;
    const int fd = ::open(QFile::encodeName(hostPath).constData(), O_WRONLY | O_CLOEXEC | noFollow);
    if (fd < 0)
        return failed(noFollow && errno == ELOOP ? EACCES : errno);
    // Written over the old contents and only then cut to length, so that a
    // failure part-way leaves as much of the file as possible.
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            return failed(error);
        }
        done += n;
    }
    if (::ftruncate(fd, off_t(data.size())) != 0 || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(error);
    }
    if (::close(fd) != 0)
        return failed(errno);
    return std::nullopt;
}

bool KeepOwnerOf(const QString& replacedPath, int fd)
{
    struct stat old {};
    struct stat now {};
    if (::stat(QFile::encodeName(replacedPath).constData(), &old) != 0)
        return true; // a new file: nothing to keep
    if (fd < 0 || ::fstat(fd, &now) != 0)
        return false;
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid)
        return true;
    if (::fchown(fd, old.st_uid, old.st_gid) == 0)
        return true;
    // Not allowed to give the file away (EPERM for an ordinary user): the group
    // alone may still be one of ours, and the owner then stays the saver.
    return now.st_gid != old.st_gid && ::fchown(fd, uid_t(-1), old.st_gid) == 0 && now.st_uid == old.st_uid;
}
