#include "export/markdownexport.h"

#include "export/minuteexport.h"
#include "export/plainascii.h"
#include "export/blockwriter.h"
#include "platform/bytestream.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace {

// Items of this level and deeper have no heading of their own.
constexpr int kFirstListLevel = 6;

// ASCII punctuation that is markup wherever it stands: escapes, code spans,
// emphasis, links, autolinks and HTML, entities, heading closers, and the
// strike-through and table marks of the common extensions.
constexpr bool AlwaysEscaped(char16_t c)
{
    switch (c) {
    case u'\\': case u'`': case u'*': case u'_': case u'[': case u']':
    case u'<': case u'&': case u'#': case u'~': case u'|':
        return true;
    default:
        return false;
    }
}

// ASCII that passes as it is wherever it stands in a line.
constexpr std::array<bool, 128> kPlainAscii = [] {
    std::array<bool, 128> plain{};
    for (char16_t c = 1; c < 128; ++c)
        plain[c] = c != u'\r' && c != u'\n' && !AlwaysEscaped(c);
    return plain;
}();

// Characters that start a block only at the start of a line: list bullets,
// setext underlines, block quotes.
bool LineStartEscaped(char16_t c)
{
    return c == u'-' || c == u'+' || c == u'=' || c == u'>';
}

// Splits a text at its line breaks: CR LF, a lone CR and a lone LF alike.
std::vector<QStringView> SplitLines(QStringView text)
{
    std::vector<QStringView> lines;
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = FindLineBreak(units, n); i < n; i = start + FindLineBreak(units + start, n - start)) {
        lines.push_back(text.mid(start, i - start));
        if (units[i] == u'\r' && i + 1 < n && units[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.mid(start));
    return lines;
}

// The UTF-8 output, in large blocks for the sink.
class MarkdownWriter : public BlockWriter {
public:
    using BlockWriter::BlockWriter;

    void Repeat(char c, int n) { m_buffer.append(qsizetype(n), c); }

    // One line of inline content. Spaces at either end, which readers strip,
    // and line breaks, which would end the line, become character references;
    // markup characters are backslash-escaped. With lineStart, the
    // characters that open a block at the start of a line are escaped too.
    void Inline(QStringView text, bool lineStart)
    {
        const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
        const qsizetype n = text.size();
        qsizetype first = 0;
        while (first < n && QChar::isSpace(units[first]))
            ++first;
        qsizetype last = n;
        while (last > first && QChar::isSpace(units[last - 1]))
            --last;
        // "12." or "12)" would open an ordered list.
        qsizetype listMark = -1;
        if (lineStart && first == 0) {
            qsizetype k = 0;
            while (k < n && units[k] >= u'0' && units[k] <= u'9')
                ++k;
            if (k > 0 && k < n && (units[k] == u'.' || units[k] == u')'))
                listMark = k;
        }
        // Room for the longest form of every unit, a reference ("&#12288;");
        // written through a pointer, as most of a minute is plain ASCII.
        const qsizetype start = m_buffer.size();
        m_buffer.resize(start + 8 * n);
        char* const begin = m_buffer.data() + start;
        char* out = begin;
        const qsizetype plainFrom = std::max<qsizetype>(first, lineStart ? 1 : 0);
        const qsizetype fastFrom = std::max(plainFrom, listMark + 1);
        for (qsizetype i = 0; i < n; ++i) {
            if (i >= fastFrom && i < last) {
                const qsizetype plain = CopyPlainAscii<'\\', '`', '*', '_', '[', ']', '<', '&', '#', '~', '|'>(units + i, last - i, out);
                i += plain;
                out += plain;
                if (i == n)
                    break;
            }
            const char16_t c = units[i];
            if (c < 0x80 && kPlainAscii[c] && i >= plainFrom && i < last && i != listMark) [[likely]] {
                *out++ = char(c);
            } else if (i < first || i >= last || c == u'\r' || c == u'\n') {
                out = Reference(out, c);
            } else if (c == 0) {
                out = Utf8(out, 0xFFFD); // what a reader makes of U+0000 anyway
            } else if (c < 0x80) {
                if (AlwaysEscaped(c) || i == listMark || (lineStart && i == 0 && LineStartEscaped(c)))
                    *out++ = '\\';
                *out++ = char(c);
            } else if (QChar::isHighSurrogate(c) && i + 1 < last && QChar::isLowSurrogate(units[i + 1])) {
                out = Utf8(out, QChar::surrogateToUcs4(c, units[i + 1]));
                ++i;
            } else {
                out = Utf8(out, QChar::isSurrogate(c) ? 0xFFFD : c); // half a pair names no character
            }
        }
        m_buffer.resize(start + (out - begin));
    }

private:
    static char* Reference(char* out, char16_t c)
    {
        *out++ = '&';
        *out++ = '#';
        out = std::to_chars(out, out + 5, unsigned(c)).ptr;
        *out++ = ';';
        return out;
    }

    static char* Utf8(char* out, char32_t c) { return WriteUtf8(out, c); }
};

class MarkdownRenderer {
public:
    explicit MarkdownRenderer(ByteSink& sink) : m_out(sink) {}

    void Document(const QString& title)
    {
        m_out.Ascii("# ");
        m_out.Inline(title, false);
        m_out.Line();
    }

    void Item(int level, const QString& heading, QStringView text)
    {
        if (level < kFirstListLevel) {
            m_out.Line(); // blank line before every block
            m_out.Repeat('#', std::max(level, 1) + 1);
            if (!heading.isEmpty())
                m_out.Ascii(' ');
            m_out.Inline(heading, false);
            m_out.Line();
            m_listDepth = -1;
            m_bareItem = false;
            if (!text.isEmpty()) {
                m_out.Line();
                Text(text, 0);
            }
            return;
        }
        // A damaged file may skip levels; a list can only nest one step.
        const int depth = std::min(level - kFirstListLevel, m_listDepth + 1);
        // A bare "-" is followed at once by its contents: a blank line would
        // end the item.
        if (!(m_bareItem && depth > m_listDepth))
            m_out.Line();
        m_out.Repeat(' ', 2 * depth);
        m_out.Ascii('-');
        if (heading.isEmpty()) {
            // "****" would be a rule, and CommonMark has no empty emphasis:
            // an untitled item is an empty bullet. Texts escape every "*",
            // so a reader can tell.
            m_out.Line();
            m_bareItem = text.isEmpty();
        } else {
            m_out.Ascii(" **");
            m_out.Inline(heading, false);
            m_out.Ascii("**");
            m_out.Line();
            m_bareItem = false;
            if (!text.isEmpty())
                m_out.Line();
        }
        if (!text.isEmpty())
            Text(text, 2 * (depth + 1));
        m_listDepth = depth;
    }

    void Finish() { m_out.Flush(); }

private:
    // The text as paragraphs: a line break as a hard break ("\" at the line's
    // end), one blank line as the start of a new paragraph, each further one
    // as a hard break alone on its line (a blank line cannot be doubled).
    void Text(QStringView text, int indent)
    {
        const std::vector<QStringView> lines = SplitLines(text);
        const auto isContent = [](QStringView line) { return !line.isEmpty(); };
        const auto firstContent = std::find_if(lines.begin(), lines.end(), isContent);
        if (firstContent == lines.end()) {
            // Only line breaks: nothing for a hard break to stand between.
            m_out.Repeat(' ', indent);
            for (size_t i = 1; i < lines.size(); ++i)
                m_out.Ascii("&#10;");
            m_out.Line();
            return;
        }
        const auto lastContent = std::find_if(lines.rbegin(), lines.rend(), isContent).base() - 1;
        m_out.Repeat(' ', indent);
        for (auto it = lines.begin(); it != firstContent; ++it) {
            m_out.Ascii('\\');
            m_out.Line();
            m_out.Repeat(' ', indent);
        }
        m_out.Inline(*firstContent, true);
        auto previous = firstContent;
        for (auto it = firstContent + 1; it <= lastContent; ++it) {
            if (it->isEmpty())
                continue;
            const auto blanks = it - previous - 1;
            if (blanks == 0) {
                m_out.Ascii('\\');
                m_out.Line();
            } else {
                m_out.Line();
                m_out.Line();
                for (auto k = blanks; k > 1; --k) {
                    m_out.Repeat(' ', indent);
                    m_out.Ascii('\\');
                    m_out.Line();
                }
            }
            m_out.Repeat(' ', indent);
            m_out.Inline(*it, true);
            previous = it;
        }
        // A hard break cannot end a paragraph: trailing breaks stay characters.
        for (auto it = lastContent + 1; it != lines.end(); ++it)
            m_out.Ascii("&#10;");
        m_out.Line();
    }

    MarkdownWriter m_out;
    int m_listDepth = -1; // of the last list item, -1 after a heading
    bool m_bareItem = false; // the last line was "-" with nothing in the item yet
};

} // namespace

MarkdownExport::MarkdownExport(const NodeList& nodes)
    : m_nodes(nodes)
{
}

QString MarkdownExport::DocumentTitle(const QString& minutePath)
{
    const qsizetype slash = std::max(minutePath.lastIndexOf(QLatin1Char('\\')), minutePath.lastIndexOf(QLatin1Char('/')));
    QString name = minutePath.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name.isEmpty() ? QStringLiteral("Untitled") : name;
}

void MarkdownExport::RenderTo(ByteSink& sink, const QString& title, bool numbered) const
{
    MarkdownRenderer out(sink);
    out.Document(title);
    OutlineNumbering numbering;
    for (const auto& node : m_nodes) {
        const QString number = numbering.Next(node->GetLevel());
        QString heading = node->GetTitle();
        if (numbered)
            heading = heading.isEmpty() ? number : number + QLatin1Char(' ') + heading;
        out.Item(node->GetLevel(), heading, node->GetTextRef());
    }
    out.Finish();
}

std::optional<FileError> MarkdownExport::RenderToFile(const QString& hostPath, const QString& displayPath,
                                                      const QString& title, bool numbered) const
{
    return WriteFileSafely(hostPath, displayPath, [&](ByteSink& sink) { RenderTo(sink, title, numbered); });
}
