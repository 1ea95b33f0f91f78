#include "export/opmlexport.h"

#include "export/plainascii.h"
#include "export/blockwriter.h"
#include "platform/bytestream.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

// Indentation stops growing here: whitespace between elements means nothing
// to a reader, and an agenda nested thousands deep (a damaged file) would
// otherwise make the file grow with the square of its depth.
constexpr qint64 kMaxIndentDepth = 100;

// ASCII that stands for itself in an attribute value.
constexpr std::array<bool, 128> kPlainAscii = [] {
    std::array<bool, 128> plain{};
    for (char16_t c = 0x20; c < 128; ++c)
        plain[c] = c != u'&' && c != u'<' && c != u'>' && c != u'"';
    return plain;
}();

// The UTF-8 output, in large blocks for the sink.
class OpmlWriter : public BlockWriter {
public:
    using BlockWriter::BlockWriter;

    void Indent(qint64 depth) { m_buffer.append(qsizetype(2 * std::min(depth, kMaxIndentDepth)), ' '); }

    // Text for an attribute value or an element: markup characters as
    // entities, TAB, LF and CR as character references (a reader would turn
    // them into spaces in an attribute), what XML cannot carry as U+FFFD.
    void Escaped(QStringView text)
    {
        const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
        const qsizetype n = text.size();
        // Room for the longest form of every unit, "&quot;".
        const qsizetype start = m_buffer.size();
        m_buffer.resize(start + 6 * n);
        char* const begin = m_buffer.data() + start;
        char* out = begin;
        qsizetype i = 0;
        while (i < n) {
            const qsizetype plain = CopyPlainAscii<'&', '<', '>', '"'>(units + i, n - i, out);
            i += plain;
            out += plain;
            // Unit by unit up to and including the next one that is not plain.
            while (i < n && units[i] < 0x80 && kPlainAscii[units[i]])
                *out++ = char(units[i++]);
            if (i == n)
                break;
            const char16_t c = units[i++];
            switch (c) {
            case u'&': out = Copy(out, "&amp;"); break;
            case u'<': out = Copy(out, "&lt;"); break;
            case u'>': out = Copy(out, "&gt;"); break;
            case u'"': out = Copy(out, "&quot;"); break;
            case u'\t': out = Copy(out, "&#9;"); break;
            case u'\n': out = Copy(out, "&#10;"); break;
            case u'\r': out = Copy(out, "&#13;"); break;
            default:
                if (QChar::isHighSurrogate(c) && i < n && QChar::isLowSurrogate(units[i])) {
                    out = Utf8(out, QChar::surrogateToUcs4(c, units[i]));
                    ++i;
                } else if (c < 0x20 || QChar::isSurrogate(c) || c >= 0xFFFE) {
                    out = Utf8(out, 0xFFFD);
                } else {
                    out = Utf8(out, c);
                }
            }
        }
        m_buffer.resize(start + (out - begin));
    }

private:
    template <size_t N>
    static char* Copy(char* out, const char (&text)[N])
    {
        std::memcpy(out, text, N - 1);
        return out + N - 1;
    }

    static char* Utf8(char* out, char32_t c) { return WriteUtf8(out, c); }
};

} // namespace

OpmlExport::OpmlExport(const NodeList& nodes)
    : m_nodes(nodes)
{
}

void OpmlExport::RenderTo(ByteSink& sink, const QString& title) const
{
    OpmlWriter out(sink);
    out.Ascii("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"2.0\">\n  <head>\n    <title>");
    out.Escaped(title);
    out.Ascii("</title>\n  </head>\n  <body>");
    out.Line();
    // Outlines are written without recursion: an agenda may be nested
    // thousands of levels deep. Before each item the outlines open are
    // exactly its ancestors.
    qint64 depth = 0; // of the item before
    qint64 open = 0;
    const auto close = [&] {
        out.Indent(open + 1);
        out.Ascii("</outline>");
        out.Line();
        --open;
    };
    const qsizetype n = m_nodes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const CTreeNode& node = *m_nodes.at(i);
        depth = std::clamp<qint64>(node.GetLevel(), 1, depth + 1);
        while (open >= depth)
            close();
        out.Indent(depth + 1);
        out.Ascii("<outline text=\"");
        out.Escaped(node.GetTitle());
        const QString& text = node.GetTextRef();
        if (!text.isEmpty()) {
            out.Ascii("\" _note=\"");
            out.Escaped(text);
        }
        const bool hasChildren = i + 1 < n && m_nodes.at(i + 1)->GetLevel() > depth;
        out.Ascii(hasChildren ? "\">" : "\"/>");
        out.Line();
        if (hasChildren)
            open = depth;
    }
    while (open > 0)
        close();
    out.Ascii("  </body>\n</opml>\n");
    out.Flush();
}

std::optional<FileError> OpmlExport::RenderToFile(const QString& hostPath, const QString& displayPath,
                                                  const QString& title) const
{
    return WriteFileSafely(hostPath, displayPath, [&](ByteSink& sink) { RenderTo(sink, title); });
}
