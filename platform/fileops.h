#pragma once

#include "platform/fileerror.h"

#include <optional>

// What a symbolic link where a file is expected stands for: the file it names,
// or nothing the program will use ("Access to ... was denied."). Files in a
// folder of the program's own (its templates) refuse them, so that a link put
// there cannot make it read or write a file elsewhere.
enum class SymLinks { Follow, Refuse };

// Deletes a file; the error, with its cause and displayPath, when it could not be.
std::optional<FileError> RemoveFile(const QString& hostPath, const QString& displayPath);

// Whether a file can be replaced only by writing into it: it is a writable
// regular file in a folder where no file beside it can be made.
bool CanOnlyWriteInPlace(const QString& hostPath);
// Overwrites an existing file with data, synced to disk; the error when it fails.
std::optional<FileError> WriteFileInPlace(const QString& hostPath, const QString& displayPath, const QByteArray& data,
                                          SymLinks links = SymLinks::Follow);

// Gives the file open on fd, which is about to replace replacedPath, the
// owner and group of the file there now, as far as this process may: an
// ordinary user cannot give a file away, but can still hand it to one of their
// own groups. False when the owner or the group could not be kept; a save
// goes on regardless, as the file's contents are what was asked for.
bool KeepOwnerOf(const QString& replacedPath, int fd);
