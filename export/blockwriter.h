#pragma once

#include "platform/bytestream.h"

#include <QByteArray>

// Writes one code point (below U+0080 excluded: the writers copy ASCII
// themselves) as UTF-8 at out and returns the end of what it wrote.
inline char* WriteUtf8(char* out, char32_t c)
{
    if (c < 0x800) {
        *out++ = char(0xC0 | (c >> 6));
    } else {
        if (c < 0x10000) {
            *out++ = char(0xE0 | (c >> 12));
        } else {
            *out++ = char(0xF0 | (c >> 18));
            *out++ = char(0x80 | ((c >> 12) & 0x3F));
        }
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = char(0x80 | (c & 0x3F));
    return out;
}

// Collects a writer's output in large blocks for its sink. The writers fill
// m_buffer through a pointer where that is faster.
class BlockWriter {
public:
    explicit BlockWriter(ByteSink& sink) : m_sink(sink) { m_buffer.reserve(kFlushAt + 4096); }

    void Ascii(const char* text) { m_buffer.append(text); }
    void Ascii(char c) { m_buffer.append(c); }

    void Line()
    {
        m_buffer.append('\n');
        if (m_buffer.size() >= kFlushAt)
            Flush();
    }

    void Flush()
    {
        if (!m_buffer.isEmpty())
            m_sink.write(m_buffer.constData(), m_buffer.size());
        m_buffer.resize(0); // keeps the block for the next lines
    }

protected:
    static constexpr qsizetype kFlushAt = 256 * 1024;

    QByteArray m_buffer;

private:
    ByteSink& m_sink;
};
