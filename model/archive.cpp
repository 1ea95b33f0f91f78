#include "model/archive.h"

#include "platform/ansicodepage.h"
#include "platform/bytestream.h"

#include <QByteArray>

#include <cstring>

namespace {

constexpr qsizetype kBufferSize = 256 * 1024;
constexpr quint16 kNewClassTag = 0xFFFF;
constexpr quint16 kClassTag = 0x8000;
constexpr quint16 kBigObjectTag = 0x7FFF;
constexpr quint32 kBigClassTag = 0x80000000;
constexpr quint16 kWideMarker = 0xFFFE;
constexpr quint16 kMaxClassNameLength = 64;

} // namespace

void CObject::Serialize(Archive&)
{
}

Archive::Archive(ByteSink& sink)
    : m_sink(&sink)
    , m_buffer(kBufferSize)
{
}

Archive::Archive(ByteSource& source)
    : m_source(&source)
    , m_buffer(kBufferSize)
{
}

Archive::~Archive() = default;

void Archive::Flush()
{
    if (m_sink && m_pos > 0) {
        m_sink->write(m_buffer.data(), m_pos);
        m_pos = 0;
    }
}

qint64 Archive::BytesLeft() const
{
    return m_source ? (m_end - m_pos) + m_source->bytesLeft() : 0;
}

void Archive::WriteBytes(const void* data, qsizetype size)
{
    if (!m_sink)
        throw ArchiveException(ArchiveException::Generic);
    const char* bytes = static_cast<const char*>(data);
    if (m_pos + size <= qsizetype(m_buffer.size())) {
        std::memcpy(m_buffer.data() + m_pos, bytes, size_t(size));
        m_pos += size;
        return;
    }
    Flush();
    if (size >= qsizetype(m_buffer.size()) / 2) {
        m_sink->write(bytes, size);
        return;
    }
    std::memcpy(m_buffer.data(), bytes, size_t(size));
    m_pos = size;
}

void Archive::ReadBytes(void* data, qsizetype size)
{
    if (!m_source)
        throw ArchiveException(ArchiveException::Generic);
    char* out = static_cast<char*>(data);
    const qsizetype buffered = std::min(size, m_end - m_pos);
    std::memcpy(out, m_buffer.data() + m_pos, size_t(buffered));
    m_pos += buffered;
    out += buffered;
    size -= buffered;
    if (size == 0)
        return;
    // Large reads go straight to their destination; small ones refill the buffer.
    if (size >= qsizetype(m_buffer.size()) / 2) {
        if (m_source->read(out, size) != size)
            throw ArchiveException(ArchiveException::EndOfFile);
        return;
    }
    m_pos = 0;
    m_end = m_source->read(m_buffer.data(), qsizetype(m_buffer.size()));
    if (m_end < size)
        throw ArchiveException(ArchiveException::EndOfFile);
    std::memcpy(out, m_buffer.data(), size_t(size));
    m_pos = size;
}

template<typename T>
void Archive::WriteLE(T value)
{
    const T le = qToLittleEndian(value);
    WriteBytes(&le, sizeof le);
}

template<typename T>
T Archive::ReadLE()
{
    T le;
    ReadBytes(&le, sizeof le);
    return qFromLittleEndian(le);
}

Archive& Archive::operator<<(quint8 value) { WriteLE(value); return *this; }
Archive& Archive::operator<<(quint16 value) { WriteLE(value); return *this; }
Archive& Archive::operator<<(quint32 value) { WriteLE(value); return *this; }
Archive& Archive::operator<<(qint32 value) { WriteLE(value); return *this; }
Archive& Archive::operator>>(quint8& value) { value = ReadLE<quint8>(); return *this; }
Archive& Archive::operator>>(quint16& value) { value = ReadLE<quint16>(); return *this; }
Archive& Archive::operator>>(quint32& value) { value = ReadLE<quint32>(); return *this; }
Archive& Archive::operator>>(qint32& value) { value = ReadLE<qint32>(); return *this; }

void Archive::WriteCount(quint32 count)
{
    if (count < 0xFFFF) {
        *this << quint16(count);
    } else {
        *this << quint16(0xFFFF) << count;
    }
}

quint32 Archive::ReadCount()
{
    const quint16 small = ReadLE<quint16>();
    return small != 0xFFFF ? small : ReadLE<quint32>();
}

void Archive::WriteStringLength(quint32 length)
{
    if (length < 0xFF) {
        *this << quint8(length);
    } else if (length < 0xFFFE) {
        *this << quint8(0xFF) << quint16(length);
    } else {
        *this << quint8(0xFF) << quint16(0xFFFF) << length;
    }
}

quint32 Archive::ReadStringLength(bool& wide)
{
    wide = false;
    for (;;) {
        const quint8 small = ReadLE<quint8>();
        if (small < 0xFF)
            return small;
        const quint16 medium = ReadLE<quint16>();
        if (medium == kWideMarker) {
            // A second marker is never written; refuse it rather than loop.
            if (wide)
                throw ArchiveException(ArchiveException::BadClass);
            wide = true;
            continue;
        }
        if (medium != 0xFFFF)
            return medium;
        return ReadLE<quint32>();
    }
}

Archive& Archive::operator<<(const QString& value)
{
    WriteWide(value);
    return *this;
}

void Archive::WriteWide(const QString& value)
{
    *this << quint8(0xFF) << kWideMarker;
    WriteStringLength(quint32(value.size()));
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        WriteBytes(value.utf16(), value.size() * 2);
    } else {
        for (QChar c : value)
            WriteLE(quint16(c.unicode()));
    }
}

Archive& Archive::operator>>(QString& value)
{
    bool wide = false;
    const quint32 length = ReadStringLength(wide);
    const qint64 bytes = wide ? qint64(length) * 2 : qint64(length);
    // Never allocate for characters the file cannot hold.
    if (bytes > BytesLeft())
        throw ArchiveException(ArchiveException::EndOfFile);
    if (wide) {
        QString text(qsizetype(length), Qt::Uninitialized);
        ReadBytes(text.data(), bytes);
        if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
            for (QChar& c : text)
                c = QChar(qFromLittleEndian(c.unicode()));
        }
        value = std::move(text);
    } else {
        QByteArray narrow(qsizetype(length), Qt::Uninitialized);
        ReadBytes(narrow.data(), bytes);
        value = DecodeAnsi(narrow.constData(), narrow.size());
    }
    return *this;
}

quint32 Archive::NextMapIndex()
{
    if (m_mapCount >= m_mapLimit)
        throw ArchiveException(ArchiveException::BadIndex);
    return m_mapCount++;
}

void Archive::WriteObject(CObject& object)
{
    const RuntimeClass* cls = object.GetRuntimeClass();
    const auto known = m_storedClasses.find(cls);
    if (known == m_storedClasses.end()) {
        const quint16 nameLength = quint16(std::strlen(cls->className));
        *this << kNewClassTag << quint16(cls->schema) << nameLength;
        WriteBytes(cls->className, nameLength);
        m_storedClasses.emplace(cls, NextMapIndex());
    } else if (known->second < kBigObjectTag) {
        *this << quint16(kClassTag | known->second);
    } else {
        *this << kBigObjectTag << quint32(kBigClassTag | known->second);
    }
    NextMapIndex(); // the object's own entry
    object.Serialize(*this);
}

std::unique_ptr<CObject> Archive::ReadObject(const RuntimeClass& expected)
{
    const quint16 word = ReadLE<quint16>();
    const quint32 tag = word == kBigObjectTag ? ReadLE<quint32>()
                                              : (quint32(word & 0x8000) << 16) | (word & 0x7FFF);
    // Null tags and references to objects already read never stand for a new node.
    if (!(tag & kBigClassTag))
        throw ArchiveException(ArchiveException::BadClass);

    const RuntimeClass* cls = nullptr;
    if (word == kNewClassTag) {
        const quint16 schema = ReadLE<quint16>();
        const quint16 nameLength = ReadLE<quint16>();
        if (nameLength >= kMaxClassNameLength || nameLength > BytesLeft())
            throw ArchiveException(ArchiveException::BadClass);
        char name[kMaxClassNameLength];
        ReadBytes(name, nameLength);
        if (std::string_view(name, nameLength) != std::string_view(expected.className))
            throw ArchiveException(ArchiveException::BadClass);
        if (schema != expected.schema)
            throw ArchiveException(ArchiveException::BadSchema);
        cls = &expected;
        m_loadedClasses.emplace(NextMapIndex(), cls);
    } else {
        const quint32 index = tag & ~kBigClassTag;
        if (index == 0 || index >= m_mapCount)
            throw ArchiveException(ArchiveException::BadIndex);
        const auto known = m_loadedClasses.find(index);
        if (known == m_loadedClasses.end())
            throw ArchiveException(ArchiveException::BadClass); // the entry is an object, not a class
        cls = known->second;
    }
    if (cls != &expected || !cls->create)
        throw ArchiveException(ArchiveException::BadClass);

    NextMapIndex();
    std::unique_ptr<CObject> object(cls->create());
    object->Serialize(*this);
    return object;
}
