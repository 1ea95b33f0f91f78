#pragma once

#include "model/object.h"

#include <QString>
#include <QtEndian>

#include <exception>
#include <memory>
#include <unordered_map>
#include <vector>

class ByteSink;
class ByteSource;

// A failure of the archive format itself (as opposed to the file underneath,
// which raises FileException).
class ArchiveException : public std::exception {
public:
    enum Cause { Generic = 1, EndOfFile = 3, BadIndex = 5, BadClass = 6, BadSchema = 7 };

    explicit ArchiveException(Cause cause) : m_cause(cause) {}
    Cause cause() const { return m_cause; }
    const char* what() const noexcept override { return "archive error"; }

private:
    Cause m_cause;
};

// The little-endian object archive that minute files are written in.
//
// Classes are recorded by name the first time they occur and by index after
// that; classes and objects share one numbering that starts at 1. Strings are
// UTF-16 with a wide marker and one of three length forms; on reading, strings
// without the marker are single-byte text. The archive buffers in both
// directions, so a storing archive must be Flush()ed.
class Archive {
public:
    explicit Archive(ByteSink& sink);     // storing
    explicit Archive(ByteSource& source); // loading
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool IsStoring() const { return m_sink != nullptr; }

    Archive& operator<<(quint8 value);
    Archive& operator<<(quint16 value);
    Archive& operator<<(quint32 value);
    Archive& operator<<(qint32 value);
    Archive& operator<<(const QString& value);

    Archive& operator>>(quint8& value);
    Archive& operator>>(quint16& value);
    Archive& operator>>(quint32& value);
    Archive& operator>>(qint32& value);
    Archive& operator>>(QString& value);

    void WriteCount(quint32 count);
    quint32 ReadCount();

    void WriteObject(CObject& object);
    // Reads one object, which must be of the given class; anything else (a
    // null or object reference, another class) is a format error.
    std::unique_ptr<CObject> ReadObject(const RuntimeClass& expected);

    // Writes out what is buffered (storing only).
    void Flush();

    // Bytes not yet read, as far as the source knows (loading only).
    qint64 BytesLeft() const;

    // The numbering fails past this many entries; a seam so tests can reach it.
    void SetMapLimitForTesting(quint32 limit) { m_mapLimit = limit; }

private:
    void WriteBytes(const void* data, qsizetype size);
    void ReadBytes(void* data, qsizetype size);
    template<typename T> void WriteLE(T value);
    template<typename T> T ReadLE();
    void WriteStringLength(quint32 length);
    // Reads a length form; wide tells whether the wide marker came first.
    quint32 ReadStringLength(bool& wide);
    void WriteWide(const QString& value);
    quint32 NextMapIndex();

    ByteSink* m_sink = nullptr;
    ByteSource* m_source = nullptr;
    std::vector<char> m_buffer;
    qsizetype m_pos = 0; // next byte to read or write in m_buffer
    qsizetype m_end = 0; // end of valid bytes in m_buffer (loading)

    // Shared numbering of classes and objects.
    quint32 m_mapCount = 1;
    quint32 m_mapLimit = 0x3FFFFFFE;
    std::unordered_map<const RuntimeClass*, quint32> m_storedClasses;
    std::unordered_map<quint32, const RuntimeClass*> m_loadedClasses;
};
