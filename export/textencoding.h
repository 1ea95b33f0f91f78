#pragma once

// How the text and note exports (and the sends of them) write characters.
// HTML, RTF and the clipboard have forms of their own and ignore it.
enum class TextEncoding {
    Utf16, // UTF-16 little-endian, two bytes a code unit, no byte-order mark
    Ascii, // one byte a character: Latin-1 as it is, anything else "?"
    Utf8,  // UTF-8 without a byte-order mark
};
