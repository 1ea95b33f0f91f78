#pragma once

#include <QString>

// Single-byte text (old minute files, address books, the licence) is in
// the ANSI code page, Windows-1252. Bytes that code page leaves undefined map to the code point of
// the same number, as the handheld converted them.
QString DecodeAnsi(const char* data, qsizetype size);
