#pragma once

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
