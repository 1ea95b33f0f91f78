#pragma once

#include <QString>

// Single-byte strings in old files are in the handheld's ANSI code page,
// Windows-1252. Bytes that code page leaves undefined map to the code point of
// the same number, as the handheld converted them.
QString DecodeAnsi(const char* data, qsizetype size);
