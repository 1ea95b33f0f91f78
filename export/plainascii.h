#pragma once

#include <QtGlobal>

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Copies the run of plain ASCII (U+0020 to U+007F, apart from the Markup
// characters) at the start of units to out as bytes, sixteen units at a
// time, and returns how many it copied; the units after those, fewer than
// sixteen or the first that is not plain, are the caller's. Bytes past the
// returned count may have been written: the caller writes over them. Most
// of a minute is such text.
template <char... Markup>
qsizetype CopyPlainAscii(const char16_t* units, qsizetype n, char* out)
{
#if defined(__SSE2__)
    qsizetype i = 0;
    for (; i + 16 <= n; i += 16) {
        // Packing saturates: units from U+0100 up become 0xFF, and from U+8000
        // up (negative as signed) 0x00, neither of them plain.
        const __m128i bytes = _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i)),
                                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i + 8)));
        // As signed bytes, 0x80 to 0xFF are below 0x20 too.
        __m128i other = _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20));
        ((other = _mm_or_si128(other, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Markup)))), ...);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), bytes);
        if (const int found = _mm_movemask_epi8(other))
            return i + std::countr_zero(unsigned(found));
    }
    return i;
#else
    Q_UNUSED(units);
    Q_UNUSED(n);
    Q_UNUSED(out);
    return 0; // the callers go on unit by unit
#endif
}

// The index of the first CR or LF in units, or n when there is none.
inline qsizetype FindLineBreak(const char16_t* units, qsizetype n)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    for (; i + 8 <= n; i += 8) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
        const __m128i found = _mm_or_si128(_mm_cmpeq_epi16(eight, cr), _mm_cmpeq_epi16(eight, lf));
        if (const int mask = _mm_movemask_epi8(found))
            return i + std::countr_zero(unsigned(mask)) / 2;
    }
#endif
    while (i < n && units[i] != u'\r' && units[i] != u'\n')
        ++i;
    return i;
}
