#pragma once

#include "model/nodelist.h"

#include <QString>

#include <optional>
#include <vector>

// Finds and replaces a text in item texts straight in the node list, with
// the very results the text pane's search would give had each item been
// shown in it: the pane knows one kind of line break ('\n' in a search), so a
// stored CR LF, a lone CR or LF and the other paragraph breaks all match '\n'.
class TextFinder {
public:
    TextFinder(const QString& pattern, Qt::CaseSensitivity cs);

    // Whether the pane would find the pattern in an item holding text.
    bool IsIn(const QString& text) const;
    // The text the item holds after the pane has replaced every match in
    // it; nullopt when there is none (the text is then left as it is).
    std::optional<QString> ReplacedIn(const QString& text, const QString& replacement) const;

    // A stored text as the pane searches it.
    static QString SearchForm(const QString& text);

private:
#if defined(__SSE2__)
    // The plain search, for a pattern whose ends few code units match.
    bool ScanPairs(const char16_t* units, qsizetype n) const;
#endif
    // What the pane stores for a text inserted into it.
    static QString StoredForm(QStringView inserted);

    // The pattern holds no line break and no surrogate: a match in the
    // stored text is a match in the pane and the other way round, and the
    // search can skip ahead on each code unit alone.
    bool m_bPlain = false;
    QString m_pattern;
    Qt::CaseSensitivity m_cs;
    // For the plain search: how far the pattern may move on for each code
    // unit at its end, and whether that unit is (case-insensitively) its last.
    std::vector<quint16> m_skip;
    std::vector<quint8> m_endsMatch;
    // The code units that match its first and its last character.
    std::vector<char16_t> m_firstUnits;
    std::vector<char16_t> m_lastUnits;
};

// The index of the first node from first on (node indexes count from 1)
// whose text holds a match; 0 when none does. Large lists are searched on two
// threads.
int FindNodeHolding(const NodeList& nodes, int first, const TextFinder& finder);
