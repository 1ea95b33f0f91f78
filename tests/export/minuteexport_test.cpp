// The renderer: text, note, RTF, HTML and clipboard output, byte for byte.

#include "export/exportfile.h"
#include "export/minuteexport.h"
#include "framework/scripteduiservice.h"
#include "platform/bytestream.h"
#include "platform/devicepaths.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>


namespace {

ExportSettings settings(bool numbered, TextEncoding encoding)
{
    ExportSettings chosen;
    chosen.numbered = numbered;
    chosen.encoding = encoding;
    return chosen;
}

struct Item {
    int level;
    QString title;
    QString text;
};

NodeList makeList(std::initializer_list<Item> items)
{
    NodeList list;
    for (const Item& item : items)
        list.append(std::make_unique<CTreeNode>(item.title, item.text, item.level, 1));
    return list;
}

NodeList workedExample()
{
    return makeList({{1, QStringLiteral("Attendees"), QStringLiteral("Ann\r\nBob")},
                     {2, QStringLiteral("Apologies"), QString()},
                     {1, QStringLiteral("Actions"), QStringLiteral("Call")}});
}

QByteArray render(const NodeList& list, int kind, bool numbered, bool ascii = false)
{
    ScriptedUiService ui;
    MemorySink sink;
    CMinuteExport(list, &ui).RenderTo(sink, kind, numbered, ascii ? TextEncoding::Ascii : TextEncoding::Utf16);
    return sink.data();
}

QByteArray render(const NodeList& list, int kind, bool numbered, TextEncoding encoding)
{
    MemorySink sink;
    CMinuteExport(list, nullptr).RenderTo(sink, kind, numbered, encoding);
    return sink.data();
}

QByteArray utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

QByteArray golden(const char* name)
{
    return testsupport::readFile(testsupport::dataPath(QString::fromLatin1(name)));
}

const QByteArray kRtfPrologueEnd = "\\viewkind4\\uc1\\pard\\cf0\\f0\\fs20";

// What follows the RTF prologue.
QByteArray rtfItems(const QByteArray& rtf)
{
    return rtf.mid(rtf.indexOf(kRtfPrologueEnd) + kRtfPrologueEnd.size());
}

} // namespace

TEST(MinuteExport, WorkedExamplesAreByteExact)
{
    const NodeList list = workedExample();
    EXPECT_EQ(render(list, ExportText, true), golden("worked_example_numbered.txt"));
    EXPECT_EQ(render(list, ExportNote, true), golden("worked_example_numbered.txt"));
    EXPECT_EQ(render(list, ExportHtml, false), golden("worked_example.htm"));
    EXPECT_EQ(render(list, ExportRtf, true), golden("worked_example_numbered.rtf"));
}

TEST(MinuteExport, ClipboardHoldsTheUnicodeTextAndConfirms)
{
    const NodeList list = workedExample();
    ScriptedUiService ui;
    QString unused;
    EXPECT_FALSE(CMinuteExport(list, &ui).Render(ExportClipboard, unused, settings(true, TextEncoding::Ascii), true).has_value());
    EXPECT_EQ(utf16(ui.clipboardText), golden("worked_example_numbered.txt"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Exported Minute"));
    EXPECT_EQ(ui.messages[0].caption, QStringLiteral("Quillon"));
    EXPECT_EQ(ui.messages[0].flags, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    EXPECT_EQ(ui.waitCursorCount, 1);
    EXPECT_EQ(ui.waitCursorDepth, 0);

    // A clipboard that refuses still ends with the confirmation.
    ScriptedUiService refusing;
    refusing.clipboardFails = true;
    CMinuteExport(list, &refusing).Render(ExportClipboard, unused, settings(false, TextEncoding::Utf16), true);
    EXPECT_EQ(refusing.messageTexts(), QStringList{QStringLiteral("Exported Minute")});
}

TEST(MinuteExport, EmptyTextsAndTrailingLineBreaks)
{
    const NodeList list = makeList({{1, QStringLiteral("Venue"), QString()},
                                    {1, QStringLiteral("Notes"), QStringLiteral("a\r\n")}});
    EXPECT_EQ(render(list, ExportText, false, true), QByteArray("Venue\r\n\r\n\r\nNotes\r\na\r\n\r\n\r\n"));
    const QByteArray html = render(list, ExportHtml, false);
    EXPECT_TRUE(html.contains("<P><B>Notes</B></P>\r\na\r\n<br>\r\n\r\n\r\n<br>\r\n"));
    EXPECT_TRUE(rtfItems(render(list, ExportRtf, false)).endsWith("a\r\n\\par \r\n\r\n\r\n\\par\r\n}"));
}

TEST(MinuteExport, OutlineNumbersFollowTheLevels)
{
    const NodeList list = makeList({{1, QStringLiteral("a"), {}}, {2, QStringLiteral("b"), {}}, {2, QStringLiteral("c"), {}},
                                    {3, QStringLiteral("d"), {}}, {1, QStringLiteral("e"), {}}, {2, QStringLiteral("f"), {}}});
    EXPECT_EQ(render(list, ExportText, true, true),
              QByteArray("1.\ta\r\n\r\n\r\n1.1.\tb\r\n\r\n\r\n1.2.\tc\r\n\r\n\r\n1.2.1.\td\r\n\r\n\r\n"
                         "2.\te\r\n\r\n\r\n2.1.\tf\r\n\r\n\r\n"));

    NodeList deep;
    for (int level = 1; level <= 12; ++level)
        deep.append(std::make_unique<CTreeNode>(QStringLiteral("x"), QString(), level, 1));
    deep.append(std::make_unique<CTreeNode>(QStringLiteral("second"), QString(), 12, 1));
    EXPECT_TRUE(render(deep, ExportText, true, true).endsWith("1.1.1.1.1.1.1.1.1.1.1.2.\tsecond\r\n\r\n\r\n"));
}

TEST(MinuteExport, LevelsFromDamagedFilesAreNumberedWithoutCrashing)
{
    NodeList odd = makeList({{0, QStringLiteral("zero"), {}}, {-7, QStringLiteral("negative"), {}}, {1, QStringLiteral("one"), {}}});
    odd.append(std::make_unique<CTreeNode>(QStringLiteral("huge"), QString(), std::numeric_limits<int>::max(), 1));
    const QByteArray text = render(odd, ExportText, true, true);
    EXPECT_TRUE(text.startsWith("\tzero\r\n\r\n\r\n\tnegative\r\n\r\n\r\n1.\tone\r\n"));
    EXPECT_LT(text.size(), 10000);
}

TEST(MinuteExport, TextWidthFollowsTheAsciiOption)
{
    const NodeList list = makeList({{1, QString::fromUtf16(u"Caf\u00e9 \u20ac \U0001F600"), QString()}});
    EXPECT_EQ(render(list, ExportText, false, false), utf16(QString::fromUtf16(u"Caf\u00e9 \u20ac \U0001F600\r\n\r\n\r\n")));
    // One byte each: Latin-1 stays, anything else is a single "?".
    EXPECT_EQ(render(list, ExportText, false, true), QByteArray("Caf\xe9 ? ?\r\n\r\n\r\n"));
}

TEST(MinuteExport, Utf8TextsAndNotesAreByteExact)
{
    // Two, three and four bytes (a surrogate pair), a line break inside a
    // text, and half a pair on its own, which names no character.
    const NodeList list = makeList({{1, QString::fromUtf16(u"Caf\u00e9"), QString::fromUtf16(u"5 \u20ac\r\n\U0001F600")},
                                    {2, QStringLiteral("Plain"), QString()},
                                    {1, QStringLiteral("Odd ") + QChar(0xD800), QStringLiteral("x")}});
    const QByteArray plain = "Caf\xc3\xa9\r\n5 \xe2\x82\xac\r\n\xf0\x9f\x98\x80\r\n\r\n"
                             "Plain\r\n\r\n\r\n"
                             "Odd \xef\xbf\xbd\r\nx\r\n\r\n";
    const QByteArray numbered = "1.\tCaf\xc3\xa9\r\n5 \xe2\x82\xac\r\n\xf0\x9f\x98\x80\r\n\r\n"
                                "1.1.\tPlain\r\n\r\n\r\n"
                                "2.\tOdd \xef\xbf\xbd\r\nx\r\n\r\n";
    for (const int kind : {ExportText, ExportNote}) {
        EXPECT_EQ(render(list, kind, false, TextEncoding::Utf8), plain) << kind;
        EXPECT_EQ(render(list, kind, true, TextEncoding::Utf8), numbered) << kind;
    }
}

TEST(MinuteExport, HtmlAndRtfCarryEveryCharacter)
{
    const NodeList list = makeList({{1, QStringLiteral("R&D <Q3>"), QString::fromUtf16(u"{a\\b} \u00e9\u20ac\uFFFD\U0001F600")}});
    const QByteArray html = render(list, ExportHtml, false, true);
    EXPECT_TRUE(html.contains("<P><B>R&amp;D &lt;Q3&gt;</B></P>\r\n{a\\b} &#233;&#8364;&#65533;&#128512;\r\n\r\n"));
    const QByteArray rtf = render(list, ExportRtf, false, false);
    EXPECT_TRUE(rtf.contains("\\par\\b\\cf0 R&D <Q3>\\b0\\cf0\\par\r\n\\{a\\\\b\\} \\u233?\\u8364?\\u-3?\\u-10179?\\u-8704?\r\n"));
    // Both stay plain ASCII, whatever the text held.
    for (const char c : html + rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(MinuteExport, LineBreaksTakeTheFormatsForm)
{
    EXPECT_EQ(CMinuteExport::TranslateLineBreaks(QStringLiteral("a\r\nb"), ExportHtml), QStringLiteral("a\r\n<br>\r\nb"));
    EXPECT_EQ(CMinuteExport::TranslateLineBreaks(QStringLiteral("a\r\nb\r\n"), ExportRtf), QStringLiteral("a\r\n\\par b\r\n\\par "));
    EXPECT_EQ(CMinuteExport::TranslateLineBreaks(QStringLiteral("no breaks"), ExportRtf), QStringLiteral("no breaks"));
    // A CR without its LF does not take the next character with it.
    EXPECT_EQ(CMinuteExport::TranslateLineBreaks(QStringLiteral("a\rb\r"), ExportHtml), QStringLiteral("a\r\n<br>\r\nb\r\n<br>\r\n"));
    // A lone LF (texts from JSON or the clipboard) is a line break too, and
    // LF CR is two of them.
    EXPECT_EQ(CMinuteExport::TranslateLineBreaks(QStringLiteral("a\nb\n\rc"), ExportRtf),
              QStringLiteral("a\r\n\\par b\r\n\\par \r\n\\par c"));
    const NodeList list = makeList({{1, QStringLiteral("T"), QStringLiteral("Ann\nBob")}});
    EXPECT_TRUE(render(list, ExportHtml, false).contains("<P><B>T</B></P>\r\nAnn\r\n<br>\r\nBob\r\n\r\n<br>\r\n"));
    EXPECT_TRUE(rtfItems(render(list, ExportRtf, false)).startsWith("\\par\\b\\cf0 T\\b0\\cf0\\par\r\nAnn\r\n\\par Bob\r\n"));
}

TEST(MinuteExport, AnEmptyMinuteIsAnEmptyTextAndACompleteDocument)
{
    const NodeList empty;
    EXPECT_TRUE(render(empty, ExportText, true).isEmpty());
    EXPECT_EQ(render(empty, ExportHtml, true),
              QByteArray("<HTML><HEAD><TITLE>Meeting minutes generated by Quillon</TITLE></HEAD>\r\n<BODY>\r\n</BODY></HTML>\r\n"));
    EXPECT_EQ(rtfItems(render(empty, ExportRtf, true)), QByteArray("\r\n}"));
}

TEST(MinuteExport, FilesAreWrittenWhereTheNormalisedPathSays)
{
    QTemporaryDir dir;
    const NodeList list = workedExample();
    ScriptedUiService ui;
    const DevicePaths device(dir.path());
    QString devicePath = QStringLiteral("\\\\Exports\\Board.htm");
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Exports")));
    EXPECT_FALSE(CMinuteExport(list, &ui, &device).Render(ExportHtml, devicePath, settings(false, TextEncoding::Utf16), false).has_value());
    EXPECT_EQ(devicePath, QStringLiteral("\\Exports\\Board.htm")); // the caller sees the normalised path
    EXPECT_EQ(testsupport::readFile(dir.filePath(QStringLiteral("Exports/Board.htm"))), golden("worked_example.htm"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.waitCursorDepth, 0);
}

TEST(MinuteExport, AFileThatCannotBeWrittenIsReportedAndLeavesNothing)
{
    QTemporaryDir dir;
    const NodeList list = workedExample();
    ScriptedUiService ui;
    QString missing = dir.filePath(QStringLiteral("gone/out.txt"));
    const std::optional<FileError> error = CMinuteExport(list, &ui).Render(ExportText, missing, settings(false, TextEncoding::Utf16), false);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(), missing + QStringLiteral(" was not found."));

    // A write that fails part-way keeps the file that was there.
    QString path = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(testsupport::writeFile(path, "previous"));
    NodeList big;
    for (int i = 0; i < 200; ++i)
        big.append(std::make_unique<CTreeNode>(QStringLiteral("Item"), QString(200, QLatin1Char('t')), 1, 1));
    std::optional<FileError> full;
    {
        const testsupport::FileSizeLimit limit(4096);
        full = CMinuteExport(big, &ui).Render(ExportText, path, settings(false, TextEncoding::Utf16), false);
    }
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->message(), QStringLiteral("Disk full while accessing %1.").arg(path));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.txt")});
    EXPECT_EQ(ui.waitCursorDepth, 0);
}

TEST(MinuteExport, AnExportKeepsTheOwnerAndGroupOfTheFileItReplaces)
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(testsupport::writeFile(path, "previous"));
    const std::optional<testsupport::Owner> owner = testsupport::handToAnotherOwner(path);
    if (!owner)
        GTEST_SKIP() << "neither root nor in a second group: no other owner to keep";
    const NodeList list = workedExample();
    ScriptedUiService ui;
    EXPECT_FALSE(CMinuteExport(list, &ui).Render(ExportText, path, settings(false, TextEncoding::Utf16), false).has_value());
    EXPECT_NE(testsupport::readFile(path), QByteArray("previous"));
    EXPECT_EQ(testsupport::ownerOf(path), *owner);
}

TEST(MinuteExport, LongTextsEscapeTheSameAtEveryPosition)
{
    // A plain reference for one character at a time, against which the
    // renderer's block-wise handling of long texts is checked.
    auto reference = [](const QString& text, bool html) {
        QByteArray out;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            if (c == u'\r' || c == u'\n') {
                out += html ? "\r\n<br>\r\n" : "\r\n\\par ";
                if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                    ++i;
            } else if (html && c == u'&') {
                out += "&amp;";
            } else if (html && c == u'<') {
                out += "&lt;";
            } else if (html && c == u'>') {
                out += "&gt;";
            } else if (!html && (c == u'\\' || c == u'{' || c == u'}')) {
                out += '\\';
                out += char(c);
            } else if (c >= 0x80) {
                out += html ? "&#" + QByteArray::number(c) + ";" : "\\u" + QByteArray::number(qint16(c)) + "?";
            } else {
                out += char(c);
            }
        }
        return out;
    };
    const QString alphabet = QString::fromUtf16(u"abcdefgh&<>{}\\\u00e9\u20ac\r\n\t ");
    QString text;
    quint32 seed = 12345;
    for (int i = 0; i < 5000; ++i) {
        seed = seed * 1103515245u + 12345u;
        // Mostly plain letters, so that long plain runs meet specials at every offset.
        const quint32 pick = (seed >> 16) % 64;
        text += alphabet.at(pick < alphabet.size() ? qsizetype(pick) : qsizetype(pick % 8));
    }
    const NodeList list = makeList({{1, QStringLiteral("T"), text}});
    const QByteArray html = render(list, ExportHtml, false);
    const QByteArray expectedHtml = "<P><B>T</B></P>\r\n" + reference(text, true) + "\r\n\r\n<br>\r\n";
    EXPECT_TRUE(html.contains(expectedHtml));
    const QByteArray rtf = render(list, ExportRtf, false);
    EXPECT_TRUE(rtf.contains("\\par\\b\\cf0 T\\b0\\cf0\\par\r\n" + reference(text, false) + "\r\n\r\n\r\n\\par"));
    const QString withoutBreaks = QString(text).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    EXPECT_EQ(CMinuteExport::EscapeHtml(withoutBreaks).toLatin1(), reference(withoutBreaks, true));
}
