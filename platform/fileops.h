#pragma once

#include "platform/fileerror.h"

#include <optional>

// Deletes a file; the error, with its cause and displayPath, when it could not be.
std::optional<FileError> RemoveFile(const QString& hostPath, const QString& displayPath);
