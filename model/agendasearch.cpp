#include "model/agendasearch.h"

#include <QHash>
#include <QStringView>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

// Characters the pane turns into a paragraph break when it is given a text.
bool IsBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

bool HasBreakOrSurrogate(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return IsBreak(c) || c.isSurrogate(); });
}

// Below this many characters a second thread costs more than it saves.
constexpr qsizetype kSplitCharacters = 4'000'000;

} // namespace

TextFinder::TextFinder(const QString& pattern, Qt::CaseSensitivity cs)
    : m_pattern(pattern)
    , m_cs(cs)
{
    m_bPlain = !pattern.isEmpty() && pattern.size() < 0xFFFF && !HasBreakOrSurrogate(pattern);
    if (!m_bPlain)
        return;
    const auto m = quint16(pattern.size());
    const auto key = [cs](QChar c) { return cs == Qt::CaseSensitive ? c.unicode() : c.toCaseFolded().unicode(); };
    QHash<char16_t, quint16> shift;
    for (quint16 i = 0; i + 1 < m; ++i)
        shift.insert(key(pattern[i]), quint16(m - 1 - i));
    const char16_t first = key(pattern[0]);
    const char16_t last = key(pattern[m - 1]);
    m_skip.assign(0x10000, m);
    m_endsMatch.assign(0x10000, 0);
    if (cs == Qt::CaseSensitive) {
        for (auto it = shift.cbegin(); it != shift.cend(); ++it)
            m_skip[it.key()] = it.value();
        m_endsMatch[last] = 1;
        m_firstUnits = {first};
        m_lastUnits = {last};
        return;
    }
    // Every code unit that folds like a pattern character, not only its
    // upper and lower case: the Kelvin sign matches a 'k'.
    for (char32_t u = 0; u < 0x10000; ++u) {
        const char16_t folded = QChar(char16_t(u)).toCaseFolded().unicode();
        m_skip[u] = shift.value(folded, m);
        m_endsMatch[u] = folded == last;
        if (folded == first)
            m_firstUnits.push_back(char16_t(u));
        if (folded == last)
            m_lastUnits.push_back(char16_t(u));
    }
}

QString TextFinder::SearchForm(const QString& text)
{
    // The pane is given the text with each CR LF made an LF, and it makes a
    // paragraph break of each CR LF left then (from a CR CR LF) and of each
    // other break character.
    QString given = text;
    given.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QString form;
    form.reserve(given.size());
    for (qsizetype i = 0; i < given.size(); ++i) {
        const QChar c = given[i];
        if (c == u'\r' && i + 1 < given.size() && given[i + 1] == u'\n')
            continue; // the LF that follows stands for both
        form += IsBreak(c) ? QChar(u'\n') : c;
    }
    return form;
}

bool TextFinder::IsIn(const QString& text) const
{
    if (!m_bPlain)
        return !m_pattern.isEmpty() && SearchForm(text).contains(m_pattern, m_cs);
    const qsizetype m = m_pattern.size();
    const qsizetype n = text.size();
    const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
    const QStringView pattern(m_pattern);
#if defined(__SSE2__)
    if (m_firstUnits.size() <= 4 && m_lastUnits.size() <= 4)
        return ScanPairs(units, n);
#endif
    for (qsizetype end = m - 1; end < n; end += m_skip[units[end]]) {
        if (m_endsMatch[units[end]] && QStringView(units + end - m + 1, m).compare(pattern, m_cs) == 0)
            return true;
    }
    return false;
}

#if defined(__SSE2__)
bool TextFinder::ScanPairs(const char16_t* units, qsizetype n) const
{
    // Eight places at a time: those whose first and last code units could
    // be the pattern's are compared in full. Reading the text once, in
    // order, this runs at the speed of memory.
    const qsizetype m = m_pattern.size();
    const auto splat = [](const std::vector<char16_t>& from, __m128i (&to)[4]) {
        for (size_t k = 0; k < 4; ++k)
            to[k] = _mm_set1_epi16(short(from[std::min(k, from.size() - 1)]));
    };
    __m128i firsts[4];
    __m128i lasts[4];
    splat(m_firstUnits, firsts);
    splat(m_lastUnits, lasts);
    const QStringView pattern(m_pattern);
    const auto matchesAt = [&](qsizetype at) { return QStringView(units + at, m).compare(pattern, m_cs) == 0; };
    qsizetype at = 0;
    for (; at + m - 1 + 8 <= n; at += 8) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + at));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + at + m - 1));
        __m128i heads = _mm_cmpeq_epi16(head, firsts[0]);
        __m128i tails = _mm_cmpeq_epi16(tail, lasts[0]);
        for (int k = 1; k < 4; ++k) {
            heads = _mm_or_si128(heads, _mm_cmpeq_epi16(head, firsts[k]));
            tails = _mm_or_si128(tails, _mm_cmpeq_epi16(tail, lasts[k]));
        }
        for (unsigned both = unsigned(_mm_movemask_epi8(_mm_and_si128(heads, tails))); both != 0; both &= both - 1) {
            const int bit = __builtin_ctz(both);
            both &= ~(1u << (bit + 1)); // each place has two bits
            if (matchesAt(at + bit / 2))
                return true;
        }
    }
    for (; at + m <= n; ++at) {
        if (matchesAt(at))
            return true;
    }
    return false;
}
#endif

std::optional<QString> TextFinder::ReplacedIn(const QString& text, const QString& replacement) const
{
    if (!IsIn(text))
        return std::nullopt;
    // As the pane does it: each match of its form of the text replaced from
    // left to right, the replacement inserted as typed, and every paragraph
    // break stored as CR LF.
    const QString form = SearchForm(text);
    const QString inserted = StoredForm(replacement);
    QString stored;
    stored.reserve(form.size() + form.size() / 16);
    qsizetype from = 0;
    for (qsizetype at = form.indexOf(m_pattern, 0, m_cs); at >= 0; at = form.indexOf(m_pattern, from, m_cs)) {
        stored += StoredForm(QStringView(form).sliced(from, at - from));
        stored += inserted;
        from = at + m_pattern.size();
    }
    stored += StoredForm(QStringView(form).sliced(from));
    return stored;
}

QString TextFinder::StoredForm(QStringView inserted)
{
    QString stored;
    stored.reserve(inserted.size());
    for (qsizetype i = 0; i < inserted.size(); ++i) {
        const QChar c = inserted[i];
        if (c == u'\r' && i + 1 < inserted.size() && inserted[i + 1] == u'\n')
            continue;
        if (IsBreak(c))
            stored += QLatin1String("\r\n");
        else
            stored += c;
    }
    return stored;
}

int FindNodeHolding(const NodeList& nodes, int first, const TextFinder& finder)
{
    const qsizetype begin = std::max(first, 1) - 1;
    const qsizetype end = nodes.size();
    std::atomic<bool> settled = false; // the first half found one: the second may stop
    const auto search = [&](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to && !settled.load(std::memory_order_relaxed); ++i) {
            if (finder.IsIn(nodes.at(i)->GetTextRef()))
                return int(i + 1);
        }
        return 0;
    };
    qsizetype characters = 0;
    for (qsizetype i = begin; i < end && characters < kSplitCharacters; ++i)
        characters += nodes.at(i)->GetTextRef().size();
    if (characters < kSplitCharacters || std::thread::hardware_concurrency() < 2)
        return search(begin, end);
    // The first half decides when it holds a match; the second half's
    // answer counts only when it does not.
    const qsizetype middle = begin + (end - begin) / 2;
    int second = 0;
    std::thread helper([&] { second = search(middle, end); });
    const int firstHalf = search(begin, middle);
    settled = firstHalf != 0;
    helper.join();
    return firstHalf ? firstHalf : second;
}
