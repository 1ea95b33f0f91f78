#include "platform/fileerror.h"

#include <cerrno>

QString FileError::message() const
{
    const QString name = path.isEmpty() ? QStringLiteral("an unnamed file") : path;
    switch (cause) {
    case FileErrorCause::None:
        return QStringLiteral("No error occurred.");
    case FileErrorCause::Generic:
        return QStringLiteral("An unknown error occurred while accessing %1.").arg(name);
    case FileErrorCause::FileNotFound:
        return QStringLiteral("%1 was not found.").arg(name);
    case FileErrorCause::BadPath:
        return QStringLiteral("%1 contains an invalid path.").arg(name);
    case FileErrorCause::TooManyOpenFiles:
        return QStringLiteral("%1 could not be opened because there are too many open files.").arg(name);
    case FileErrorCause::AccessDenied:
        return QStringLiteral("Access to %1 was denied.").arg(name);
    case FileErrorCause::InvalidFile:
        return QStringLiteral("An invalid file handle was associated with %1.").arg(name);
    case FileErrorCause::RemoveCurrentDir:
        return QStringLiteral("%1 could not be removed because it is the current directory.").arg(name);
    case FileErrorCause::DirectoryFull:
        return QStringLiteral("%1 could not be created because the directory is full.").arg(name);
    case FileErrorCause::BadSeek:
        return QStringLiteral("Seek failed on %1").arg(name);
    case FileErrorCause::HardIO:
        return QStringLiteral("A hardware I/O error was reported while accessing %1.").arg(name);
    case FileErrorCause::SharingViolation:
        return QStringLiteral("A sharing violation occurred while accessing %1.").arg(name);
    case FileErrorCause::LockViolation:
        return QStringLiteral("A locking violation occurred while accessing %1.").arg(name);
    case FileErrorCause::DiskFull:
        return QStringLiteral("Disk full while accessing %1.").arg(name);
    case FileErrorCause::EndOfFile:
        return QStringLiteral("An attempt was made to access %1 past its end.").arg(name);
    }
    return QStringLiteral("An unknown error occurred while accessing %1.").arg(name);
}

FileErrorCause FileError::causeFromErrno(int error)
{
    switch (error) {
    case 0:
        return FileErrorCause::Generic; // a failure without a recorded cause
    case ENOENT:
    case ENOTDIR:
        return FileErrorCause::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: // opening a folder as a file is refused as access
        return FileErrorCause::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileErrorCause::DiskFull;
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE:
        return FileErrorCause::TooManyOpenFiles;
    case EBADF:
        return FileErrorCause::InvalidFile;
    case ESPIPE:
        return FileErrorCause::BadSeek;
    case EIO:
        return FileErrorCause::HardIO;
    case ETXTBSY:
    case EBUSY:
        return FileErrorCause::SharingViolation;
    case EDEADLK:
    case ENOLCK:
        return FileErrorCause::LockViolation;
    default:
        return FileErrorCause::Generic;
    }
}
