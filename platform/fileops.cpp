#include "platform/fileops.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
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

std::optional<FileError> WriteFileInPlace(const QString& hostPath, const QString& displayPath, const QByteArray& data)
{
    auto failed = [&](int error) { return FileError{FileError::causeFromErrno(error), displayPath}; };
    const int fd = ::open(QFile::encodeName(hostPath).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(errno);
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
