#include "platform/bytestream.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

qsizetype MemorySource::read(char* data, qsizetype maxSize)
{
    const qsizetype n = std::min<qsizetype>(maxSize, m_data.size() - m_pos);
    if (n <= 0)
        return 0;
    std::memcpy(data, m_data.data() + m_pos, size_t(n));
    m_pos += n;
    return n;
}

FileSource::~FileSource()
{
    close();
}

bool FileSource::open(const QString& hostPath, const QString& displayPath, FileError* error, SymLinks links)
{
    close();
    m_displayPath = displayPath;
    const QByteArray native = QFile::encodeName(hostPath);
    auto failWith = [&](FileErrorCause cause) {
        if (error)
            *error = FileError{cause, displayPath};
        close();
        return false;
    };
    if (native.isEmpty())
        return failWith(FileErrorCause::BadPath);
    // O_NONBLOCK so that opening a FIFO does not wait for a writer; it is refused below.
    const int noFollow = links == SymLinks::Refuse ? O_NOFOLLOW : 0;
    m_fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | noFollow);
    if (m_fd < 0)
        return failWith(noFollow && errno == ELOOP ? FileErrorCause::AccessDenied : FileError::causeFromErrno(errno));
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        return failWith(FileError::causeFromErrno(errno));
    if (!S_ISREG(st.st_mode))
        return failWith(FileErrorCause::AccessDenied);
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK);
    m_size = st.st_size;
    m_pos = 0;
    return true;
}

void FileSource::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
    m_pos = 0;
}

qsizetype FileSource::read(char* data, qsizetype maxSize)
{
    if (m_fd < 0)
        throw FileException(FileErrorCause::InvalidFile, m_displayPath);
    qsizetype done = 0;
    while (done < maxSize) {
        const ssize_t n = ::read(m_fd, data + done, size_t(maxSize - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileException(FileError::causeFromErrno(errno), m_displayPath);
        }
        if (n == 0)
            break;
        done += n;
    }
    m_pos += done;
    if (m_pos > m_size)
        m_size = m_pos; // the file grew while we read it
    return done;
}

SafeFileSink::SafeFileSink() = default;

SafeFileSink::~SafeFileSink()
{
    if (m_file)
        m_file->cancelWriting();
}

bool SafeFileSink::open(const QString& hostPath, const QString& displayPath, FileError* error, SymLinks links)
{
    m_displayPath = displayPath;
    auto failWith = [&](FileErrorCause cause) {
        if (error)
            *error = FileError{cause, displayPath};
        m_file.reset();
        return false;
    };
    if (hostPath.isEmpty())
        return failWith(FileErrorCause::BadPath);
    // Only a regular file (or, unless refused, a link to one) is ever replaced:
    // a folder, a FIFO or a device node is refused and left as it is.
    auto refused = [&] {
        const QFileInfo info(hostPath);
        if (links == SymLinks::Refuse && info.isSymLink())
            return true;
        return info.exists() && !info.isFile();
    };
    if (refused())
        return failWith(FileErrorCause::AccessDenied);
    m_file = std::make_unique<QSaveFile>(hostPath);
    errno = 0;
    // Unbuffered, so that errno still describes a failed write when we look at it.
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failWith(FileError::causeFromErrno(errno));
    // A link put there in the meantime would have been followed.
    if (refused())
        return failWith(FileErrorCause::AccessDenied);
    // QSaveFile has given the new file the old one's mode; owner and group are ours to keep.
    KeepOwnerOf(hostPath, m_file->handle());
    return true;
}

void SafeFileSink::write(const char* data, qsizetype size)
{
    if (!m_file)
        throw FileException(FileErrorCause::InvalidFile, m_displayPath);
    qsizetype done = 0;
    while (done < size) {
        errno = 0;
        const qint64 n = m_file->write(data + done, size - done);
        if (n <= 0)
            fail(errno ? errno : ENOSPC); // a write that makes no progress means the medium is full
        done += n;
    }
    m_written += size;
#if defined(__linux__)
    // The disk starts on each stretch while the rest is still being made, so
    // that the sync at the commit has little left to wait for.
    if (m_written - m_writebackFrom >= kWritebackStretch) {
        ::sync_file_range(m_file->handle(), m_writebackFrom, m_written - m_writebackFrom, SYNC_FILE_RANGE_WRITE);
        m_writebackFrom = m_written;
    }
#endif
}

void SafeFileSink::commit()
{
    if (!m_file)
        throw FileException(FileErrorCause::InvalidFile, m_displayPath);
    errno = 0;
    if (!m_file->commit())
        fail(errno);
    m_file.reset();
}

void SafeFileSink::fail(int error)
{
    const FileErrorCause cause = FileError::causeFromErrno(error);
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
    throw FileException(cause, m_displayPath);
}

std::optional<FileError> WriteFileSafely(const QString& hostPath, const QString& displayPath,
                                         const std::function<void(ByteSink&)>& write, SymLinks links)
{
    SafeFileSink sink;
    FileError error;
    if (!sink.open(hostPath, displayPath, &error, links))
        return error;
    try {
        write(sink);
        sink.commit();
    } catch (const FileException& e) {
        return e.error();
    }
    return std::nullopt;
}
