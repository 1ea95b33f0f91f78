// The Markdown export, read back by the CommonMark reference reader (cmark):
// every title and text must come back as it was.

#include "export/markdownexport.h"
#include "export/minuteexport.h"
#include "platform/bytestream.h"
#include "exportitems.h"
#include "testsupport.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>


namespace {

using exporttest::Item;
using exporttest::makeList;

QByteArray render(const NodeList& list, const QString& title, bool numbered)
{
    MemorySink sink;
    MarkdownExport(list).RenderTo(sink, title, numbered);
    return sink.data();
}

// Line breaks as one character: cmark does not say which a hard break was,
// and XML turns a CR in a text node into LF.
QString breaksAsLf(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// What the reader makes of a document: its title, then per heading or list
// item the level, the title and the text (paragraphs joined by a blank line).
struct ReadBack {
    QString error;
    QString title;
    std::vector<Item> items;
};

class CmarkXml {
public:
    explicit CmarkXml(const QByteArray& xml) : m_xml(xml) {}

    ReadBack Read()
    {
        if (m_xml.readNextStartElement() && m_xml.name() == QLatin1String("document"))
            Blocks(-1);
        else
            m_result.error = QStringLiteral("no document");
        if (m_xml.hasError())
            m_result.error = m_xml.errorString();
        return m_result;
    }

private:
    void Blocks(int listDepth)
    {
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("heading")) {
                const int level = m_xml.attributes().value(QLatin1String("level")).toInt();
                bool strongOnly = false;
                const QString text = Inline(&strongOnly);
                if (level == 1 && m_result.items.empty() && !m_haveTitle) {
                    m_result.title = text;
                    m_haveTitle = true;
                } else {
                    Add(level - 1, text);
                }
            } else if (name == QLatin1String("paragraph")) {
                bool strongOnly = false;
                QString text = Inline(&strongOnly);
                if (m_result.items.empty())
                    return Fail();
                Item& item = m_result.items.back();
                if (m_firstInItem && strongOnly) {
                    item.title = text;
                } else {
                    item.text += m_paragraphs++ ? QStringLiteral("\n\n") + text : text;
                }
                m_firstInItem = false;
            } else if (name == QLatin1String("list")) {
                while (m_xml.readNextStartElement()) {
                    if (m_xml.name() != QLatin1String("item"))
                        return Fail();
                    Add(6 + listDepth + 1, QString());
                    m_firstInItem = true;
                    Blocks(listDepth + 1);
                }
            } else {
                return Fail();
            }
        }
    }

    // Text, with soft and hard breaks as LF; strong only as a whole.
    QString Inline(bool* strongOnly)
    {
        QString text;
        int children = 0;
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            ++children;
            if (name == QLatin1String("text")) {
                text += m_xml.readElementText();
            } else if (name == QLatin1String("softbreak") || name == QLatin1String("linebreak")) {
                text += QLatin1Char('\n');
                m_xml.skipCurrentElement();
            } else if (name == QLatin1String("strong") && children == 1) {
                bool inner = false;
                text += Inline(&inner);
                *strongOnly = true;
            } else {
                Fail();
                m_xml.skipCurrentElement();
            }
        }
        if (children != 1)
            *strongOnly = false;
        return text;
    }

    void Add(int level, const QString& title)
    {
        m_result.items.push_back({level, title, QString()});
        m_paragraphs = 0;
        m_firstInItem = false;
    }

    void Fail()
    {
        if (m_result.error.isEmpty())
            m_result.error = QStringLiteral("unexpected <%1> at line %2").arg(m_xml.name()).arg(m_xml.lineNumber());
        m_xml.skipCurrentElement();
    }

    QXmlStreamReader m_xml;
    ReadBack m_result;
    bool m_haveTitle = false;
    bool m_firstInItem = false;
    int m_paragraphs = 0;
};

ReadBack readWithCmark(const QByteArray& markdown)
{
    const testsupport::ToolRun run = testsupport::runTool(QStringLiteral("cmark"), {QStringLiteral("--to"), QStringLiteral("xml")}, markdown);
    if (!run.error.isEmpty())
        return {run.error, {}, {}};
    return CmarkXml(run.output).Read();
}

// Renders the minute, reads it back and compares title by title and text by text.
void expectReadsBack(const NodeList& list, bool numbered, const QString& title = QStringLiteral("Minute"))
{
    const QByteArray markdown = render(list, title, numbered);
    EXPECT_FALSE(markdown.startsWith("\xef\xbb\xbf"));
    EXPECT_FALSE(markdown.contains('\r'));
    EXPECT_TRUE(markdown.endsWith('\n'));
    const ReadBack back = readWithCmark(markdown);
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    EXPECT_EQ(back.title, title);
    ASSERT_EQ(back.items.size(), size_t(list.size()));
    OutlineNumbering numbering;
    int failures = 0;
    for (qsizetype i = 0; i < list.size() && failures < 5; ++i) {
        const CTreeNode* node = list.at(i);
        const QString number = numbering.Next(node->GetLevel());
        QString heading = node->GetTitle();
        if (numbered)
            heading = heading.isEmpty() ? number : number + QLatin1Char(' ') + heading;
        const Item& read = back.items[size_t(i)];
        const bool same = read.level == std::max(node->GetLevel(), 1) && read.title == breaksAsLf(heading)
                          && read.text == breaksAsLf(node->GetText());
        EXPECT_TRUE(same) << "item " << i << ": level " << read.level << ", title " << read.title.toStdString()
                          << ", text " << read.text.toStdString() << "\nexpected level " << node->GetLevel()
                          << ", title " << heading.toStdString() << ", text " << node->GetText().toStdString();
        failures += !same;
    }
}

// Markup, or text that a reader would take for markup in some position.
const QStringList kAwkward = {
    "#", "## x", "x #", "*", "**", "*a*", "_", "__b__", "snake_case", "[", "]", "[a](b)", "![i](u)", "[a]: /u",
    "<", ">", "> q", "a > b", "<script>alert(1)</script>", "<http://x.y>", "<!-- c -->", "</div>", "&", "&amp;",
    "&#32;", "&copy", "\\", "a\\", "\\*", "`", "``", "```", "`c`", "~~~", "~~s~~", "1.", "1. x", "1) x", "2024. x",
    "12345678901. x", "\"q\"", "'s'", "---", "***", "___", "- - -", "===", "=", "-", "- x", "+", "+ x", "* x", "|",
    "|a|b|", "| --- |", "    code", "\tx", " ", "  ", "\t", "a  ", "x\t", "!", ":", "(a)", "{}", "$", "%", "@",
    QString::fromUtf16(u"a\u00a0"), QString::fromUtf16(u"\u3000x"),
};

const QStringList kUnicode = {
    QString::fromUtf16(u"Caf\u00e9"), QString::fromUtf16(u"\u65e5\u672c\u8a9e\u306e\u8b70\u4e8b\u9332"),
    QString::fromUtf16(u"\U0001F600"), QString::fromUtf16(u"\U0001F469\u200D\U0001F469\u200D\U0001F467 family"),
    QString::fromUtf16(u"e\u0301"), QString::fromUtf16(u"\u05e2\u05d1\u05e8\u05d9\u05ea 1."),
    QString::fromUtf16(u"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac *"),
};

} // namespace

TEST(MarkdownExport, EverySpecialCharacterReadsBack)
{
    std::vector<Item> items;
    for (const QString& f : kAwkward) {
        items.push_back({1, f, f});
        items.push_back({2, "a " + f + " b", "line\r\n" + f + "\r\n" + f + f});
        items.push_back({6, f, f + "\n" + f});
        items.push_back({7, f + f, "  " + f + "  "});
    }
    const NodeList list = makeList(items);
    expectReadsBack(list, false, QStringLiteral("# *Board* <b> & 1. \\"));
    expectReadsBack(list, true);
}

TEST(MarkdownExport, NonAsciiAndEmojiReadBack)
{
    std::vector<Item> items;
    for (const QString& u : kUnicode) {
        items.push_back({1, u, u + "\r\n" + u});
        items.push_back({6, u, u});
    }
    expectReadsBack(makeList(items), true, kUnicode[1]);
}

TEST(MarkdownExport, EmptyTitlesTextsAndLineBreaksReadBack)
{
    expectReadsBack(makeList({}), false);
    const NodeList list = makeList({
        {1, "", ""}, {2, "", "x"}, {1, "t", ""},
        {6, "", ""}, {7, "", ""}, {8, "", "text"}, {9, "", "\r\n\r\nx"}, {8, "t", ""}, {6, "", "\r\n"}, {6, "", "\n\n"},
        {1, "breaks", "a\r\nb\rc\nd"}, {1, "blank", "a\r\n\r\nb"}, {2, "blanks", "a\n\n\nb\r\n\r\n\r\n\r\nc"},
        {1, "leading", "\r\na"}, {1, "leading blank", "\n\n\nb"}, {1, "trailing", "a\r\n"},
        {1, "trailing blank", "a\n\n\r\n"}, {1, "only breaks", "\r\n\r\n"}, {1, "t\r\nu\rv", "both\r\n\r\n"},
        {6, "deep", "a\r\n\r\n\r\nb\r\n"}, {7, "x", "\r\n"}, {6, "", "\r\n\r\n  x\r\n"},
    });
    expectReadsBack(list, false);
    expectReadsBack(list, true);
}

TEST(MarkdownExport, TwentyLevelsKeepTheirDepth)
{
    std::vector<Item> items;
    for (int level = 1; level <= 20; ++level)
        items.push_back({level, QStringLiteral("Level %1 *").arg(level), QStringLiteral("- one\r\ntwo\r\n\r\n# three")});
    items.push_back({20, "sibling", "x"});
    items.push_back({3, "back up", "y"});
    items.push_back({6, "down again", ""});
    const NodeList list = makeList(items);
    expectReadsBack(list, false);
    expectReadsBack(list, true);
    const QByteArray markdown = render(list, QStringLiteral("M"), false);
    EXPECT_TRUE(markdown.contains("\n###### Level 5 \\*\n"));
    EXPECT_TRUE(markdown.contains("\n- **Level 6 \\***\n"));
    EXPECT_TRUE(markdown.contains("\n" + QByteArray(28, ' ') + "- **Level 20 \\***\n"));
}

TEST(MarkdownExport, ATenThousandItemMinuteReadsBack)
{
    QRandomGenerator random(20261208);
    QStringList pieces = kAwkward + kUnicode;
    pieces << "Budget" << "Q3" << "plan" << "\r\n" << "\r\n\r\n" << "\n" << "\r";
    const auto phrase = [&](int maxPieces) {
        QString s;
        for (int n = int(random.bounded(maxPieces + 1)); n > 0; --n)
            s += pieces[int(random.bounded(int(pieces.size())))];
        return s;
    };
    std::vector<Item> items;
    int level = 1;
    for (int i = 0; i < 10000; ++i) {
        items.push_back({level, phrase(3), phrase(8)});
        level = std::max(1, std::min(level + 1, int(random.bounded(26))));
    }
    expectReadsBack(makeList(items), true);
}

TEST(MarkdownExport, ASmallMinuteIsByteExact)
{
    const NodeList list = makeList({{1, "Attendees", "Ann\r\nBob"},
                                    {2, "Apologies", ""},
                                    {1, "Actions *now*", "1. Call\r\n\r\nR&D  \r\n"},
                                    {6, "Deep", "Note"},
                                    {7, "", ""},
                                    {8, "Deeper", ""}});
    // Level 6 straight after level 1 (a damaged file) is numbered with zeros, as
    // the other exports number it; deeper items nest one step at a time.
    EXPECT_EQ(render(list, MarkdownExport::DocumentTitle(QStringLiteral("\\My Documents\\Board.min")), true),
              QByteArray("# Board\n"
                         "\n## 1. Attendees\n\nAnn\\\nBob\n"
                         "\n### 1.1. Apologies\n"
                         "\n## 2. Actions \\*now\\*\n\n1\\. Call\n\nR\\&D&#32;&#32;&#10;\n"
                         "\n- **2.0.0.0.0.1. Deep**\n\n  Note\n"
                         "\n  - **2.0.0.0.0.1.1.**\n"
                         "\n    - **2.0.0.0.0.1.1.1. Deeper**\n"));
}

TEST(MarkdownExport, TheDocumentTitleIsTheFileName)
{
    EXPECT_EQ(MarkdownExport::DocumentTitle(QStringLiteral("\\My Documents\\Board.min")), QStringLiteral("Board"));
    EXPECT_EQ(MarkdownExport::DocumentTitle(QStringLiteral("/tmp/q3.plan.min")), QStringLiteral("q3.plan"));
    EXPECT_EQ(MarkdownExport::DocumentTitle(QStringLiteral("Notes")), QStringLiteral("Notes"));
    EXPECT_EQ(MarkdownExport::DocumentTitle(QString()), QStringLiteral("Untitled"));
    EXPECT_EQ(MarkdownExport::DocumentTitle(QStringLiteral("/tmp/.min")), QStringLiteral("Untitled"));
}

TEST(MarkdownExport, AFailedWriteIsReportedAndKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const NodeList small = makeList({{1, "A", "b"}});
    const QString missing = dir.filePath(QStringLiteral("gone/out.md"));
    const std::optional<FileError> error = MarkdownExport(small).RenderToFile(missing, missing, QStringLiteral("M"), false);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(), missing + QStringLiteral(" was not found."));

    const QString path = dir.filePath(QStringLiteral("out.md"));
    ASSERT_TRUE(testsupport::writeFile(path, "previous"));
    std::vector<Item> items(400, Item{1, QStringLiteral("Item"), QString(200, QLatin1Char('t'))});
    const NodeList big = makeList(items);
    std::optional<FileError> full;
    {
        const testsupport::FileSizeLimit limit(4096);
        full = MarkdownExport(big).RenderToFile(path, path, QStringLiteral("M"), false);
    }
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->message(), QStringLiteral("Disk full while accessing %1.").arg(path));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.md")});

    EXPECT_FALSE(MarkdownExport(small).RenderToFile(path, path, QStringLiteral("M"), false).has_value());
    EXPECT_EQ(testsupport::readFile(path), QByteArray("# M\n\n## A\n\nb\n"));
}
