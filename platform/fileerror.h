#pragma once

#include <QString>

#include <exception>

// The causes a file operation can fail with. The numbering is part of the
// message table the user sees, so it must not change.
enum class FileErrorCause {
    None = 0,
    Generic = 1,
    FileNotFound = 2,
    BadPath = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    InvalidFile = 6,
    RemoveCurrentDir = 7,
    DirectoryFull = 8,
    BadSeek = 9,
    HardIO = 10,
    SharingViolation = 11,
    LockViolation = 12,
    DiskFull = 13,
    EndOfFile = 14,
};

// A failed file operation: its cause and the path it concerned.
struct FileError {
    FileErrorCause cause = FileErrorCause::None;
    QString path;

    // The user-facing text for the cause, with the path (or "an unnamed file").
    QString message() const;

    // Maps a C library errno value to a cause.
    static FileErrorCause causeFromErrno(int error);
};

// Thrown by the byte streams when the file underneath fails.
class FileException : public std::exception {
public:
    explicit FileException(FileError error) : m_error(std::move(error)) {}
    FileException(FileErrorCause cause, const QString& path) : m_error{cause, path} {}

    const FileError& error() const { return m_error; }
    const char* what() const noexcept override { return "file error"; }

private:
    FileError m_error;
};
