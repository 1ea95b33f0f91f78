#pragma once

#include "platform/fileerror.h"
#include "platform/fileops.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QSaveFile;

// Where an archive reads its bytes from. read() throws FileException when the
// medium fails; running out of bytes is not a failure (it returns 0).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qsizetype read(char* data, qsizetype maxSize) = 0;
    // Bytes between the current position and the end, as far as known.
    virtual qint64 bytesLeft() const = 0;
};

// Where an archive writes its bytes to. write() throws FileException on failure.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const char* data, qsizetype size) = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(QByteArrayView data) : m_data(data) {}
    qsizetype read(char* data, qsizetype maxSize) override;
    qint64 bytesLeft() const override { return m_data.size() - m_pos; }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

class MemorySink final : public ByteSink {
public:
    void write(const char* data, qsizetype size) override { m_data.append(data, size); }
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

// A regular file on the host, opened for reading. Errors carry the cause from
// errno and the path as the user named it.
class FileSource final : public ByteSource {
public:
    FileSource() = default;
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // Opens hostPath; on failure fills *error (with displayPath) and returns false.
    // Folders and other non-regular files are refused, so nothing can block.
    bool open(const QString& hostPath, const QString& displayPath, FileError* error, SymLinks links = SymLinks::Follow);
    void close();

    qsizetype read(char* data, qsizetype maxSize) override;
    qint64 bytesLeft() const override { return m_size - m_pos; }
    qint64 size() const { return m_size; }

private:
    int m_fd = -1;
    qint64 m_size = 0;
    qint64 m_pos = 0;
    QString m_displayPath;
};

// A file written beside its destination and put in place only by commit(), so
// that a failed save leaves the previous file untouched. The new file keeps
// the mode, owner and group of the one it replaces.
class SafeFileSink final : public ByteSink {
public:
    SafeFileSink();
    ~SafeFileSink() override; // discards the temporary file unless committed
    SafeFileSink(const SafeFileSink&) = delete;
    SafeFileSink& operator=(const SafeFileSink&) = delete;

    bool open(const QString& hostPath, const QString& displayPath, FileError* error, SymLinks links = SymLinks::Follow);
    void write(const char* data, qsizetype size) override;
    // Replaces the destination with what was written; throws FileException.
    void commit();

private:
    [[noreturn]] void fail(int error);

    static constexpr qint64 kWritebackStretch = 8 * 1024 * 1024;

    std::unique_ptr<QSaveFile> m_file;
    QString m_displayPath;
    qint64 m_written = 0;
    qint64 m_writebackFrom = 0;
};

// Writes a whole file through a SafeFileSink: write fills it, and the file
// replaces the previous one only when every byte was written. The error of
// the open, a write or the commit, if any.
std::optional<FileError> WriteFileSafely(const QString& hostPath, const QString& displayPath,
                                         const std::function<void(ByteSink&)>& write,
                                         SymLinks links = SymLinks::Follow);
