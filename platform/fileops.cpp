#include "platform/fileops.h"

#include <QFile>

#include <cerrno>
#include <unistd.h>

std::optional<FileError> RemoveFile(const QString& hostPath, const QString& displayPath)
{
    if (::unlink(QFile::encodeName(hostPath).constData()) == 0)
        return std::nullopt;
    return FileError{FileError::causeFromErrno(errno), displayPath};
}
