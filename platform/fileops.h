#pragma once

#include "platform/fileerror.h"

#include <optional>

// Deletes a file; the error, with its cause and displayPath, when it could not be.
std::optional<FileError> RemoveFile(const QString& hostPath, const QString& displayPath);

// Whether a file can be replaced only by writing into it: it is a writable
// regular file in a folder where no file beside it can be made.
bool CanOnlyWriteInPlace(const QString& hostPath);
// Overwrites an existing file with data, synced to disk; the error when it fails.
std::optional<FileError> WriteFileInPlace(const QString& hostPath, const QString& displayPath, const QByteArray& data);
