// The OPML export, read back by Qt's XML reader, which knows nothing of our
// importer; and the importer, on our outlines and on outlines from elsewhere.

#include "export/opmlexport.h"
#include "export/opmlimport.h"
#include "platform/bytestream.h"
#include "exportitems.h"
#include "testsupport.h"

#include <QDir>
#include <QRandomGenerator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

using exporttest::Item;
using exporttest::makeList;

QByteArray render(const NodeList& list, const QString& title = QStringLiteral("M"))
{
    MemorySink sink;
    OpmlExport(list).RenderTo(sink, title);
    return sink.data();
}

// The head's title, then per outline its depth, "text" and "_note", as a plain XML reader sees them.
std::vector<Item> readWithQt(const QByteArray& xml)
{
    std::vector<Item> items(1);
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("title"))
            items[0].title = reader.readElementText();
        else if (reader.isStartElement() && reader.name() == QLatin1String("outline"))
            items.push_back({++depth, reader.attributes().value(QStringLiteral("text")).toString(),
                             reader.attributes().value(QStringLiteral("_note")).toString()});
        else if (reader.isEndElement() && reader.name() == QLatin1String("outline"))
            --depth;
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return items;
}

// Markup of XML and of Markdown, line breaks, and characters beyond ASCII.
const QStringList kPieces = {
    "#", "*", "_", "[", "]", "<", ">", "&", "\\", "`", "'", "\"", "1. x", "<script>alert(1)</script>", "&amp;",
    "&#233;", "]]>", "\t", "\r", "\n", "\r\n", " ", "  lead", "trail  ", "Budget", QString::fromUtf16(u"Caf\u00e9"),
    QString::fromUtf16(u"\u65e5\u672c\u8a9e"), QString::fromUtf16(u"\U0001F469\u200D\U0001F469\u200D\U0001F467"),
    QString::fromUtf16(u"e\u0301\u00a0\u0085\u2028\ufffd"),
};

// Levels that go at most one deeper at a time, as the editor makes them.
NodeList randomMinute(QRandomGenerator& random, int size, int maxLevel, std::vector<Item> items = {})
{
    const auto phrase = [&](int maxPieces) {
        QString s;
        for (int n = int(random.bounded(maxPieces + 1)); n > 0; --n)
            s += kPieces[int(random.bounded(int(kPieces.size())))];
        return s;
    };
    int level = items.empty() ? 1 : items.back().level;
    while (int(items.size()) < size) {
        items.push_back({level, phrase(3), phrase(6)});
        level = std::clamp(int(random.bounded(maxLevel + 6)), 1, std::min(level + 1, maxLevel));
    }
    return makeList(items);
}

} // namespace

TEST(OpmlExport, AnyXmlReaderGetsEveryCharacterAndLevelBack)
{
    std::vector<Item> items = {{1, "", ""}, {1, "", "x"}, {1, "x", ""}};
    for (int level = 1; level <= 20; ++level)
        items.push_back({level, QStringLiteral("Level %1").arg(level), "a\tb\r\nc\rd\ne"});
    for (const QString& piece : kPieces)
        items.push_back({20, piece, piece + piece});
    QRandomGenerator random(20260301);
    const NodeList list = randomMinute(random, 10000, 20, items);
    const QString title = QStringLiteral("<Board> & \"1.\" ]]> \t\r\n") + kPieces.last();
    const QByteArray xml = render(list, title);
    EXPECT_TRUE(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"2.0\">\n"));
    EXPECT_FALSE(xml.contains('\r'));
    const std::vector<Item> back = readWithQt(xml);
    ASSERT_EQ(back.size(), size_t(list.size() + 1));
    EXPECT_EQ(back[0].title, title);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const CTreeNode& node = *list.at(i);
        const Item& read = back[size_t(i + 1)];
        ASSERT_TRUE(read.level == node.GetLevel() && read.title == node.GetTitle() && read.text == node.GetText())
            << "item " << i << ": " << read.level << ' ' << read.title.toStdString() << ' ' << read.text.toStdString();
    }
}

// Levels as the Markdown export mends them, and what XML cannot carry as U+FFFD.
TEST(OpmlExport, ADamagedMinuteIsByteExact)
{
    const QString unwritable = QStringLiteral("E\u0001") + QChar(0xD800) + QChar(0xFFFF);
    const NodeList list = makeList({{3, "A", "b"}, {2, "C", ""}, {2, "D", ""}, {0, unwritable, ""}, {-7, "F", "<&>\"\t\r\n"}});
    EXPECT_EQ(render(list), QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"2.0\">\n"
                                       "  <head>\n    <title>M</title>\n  </head>\n  <body>\n"
                                       "    <outline text=\"A\" _note=\"b\">\n"
                                       "      <outline text=\"C\"/>\n      <outline text=\"D\"/>\n"
                                       "    </outline>\n    <outline text=\"E\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"/>\n"
                                       "    <outline text=\"F\" _note=\"&lt;&amp;&gt;&quot;&#9;&#13;&#10;\"/>\n"
                                       "  </body>\n</opml>\n"));
}

TEST(OpmlExport, AFailedWriteKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.opml"));
    ASSERT_TRUE(testsupport::writeFile(path, "previous"));
    std::optional<FileError> full;
    {
        const testsupport::FileSizeLimit limit(4096);
        full = OpmlExport(makeList(std::vector<Item>(400, Item{1, "Item", QString(200, 't')}))).RenderToFile(path, path, "M");
    }
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->message(), QStringLiteral("Disk full while accessing %1.").arg(path));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.opml")});

    const NodeList small = makeList({{1, "A", "b"}, {2, "C", ""}});
    EXPECT_FALSE(OpmlExport(small).RenderToFile(path, path, QStringLiteral("M")).has_value());
    EXPECT_EQ(testsupport::readFile(path), render(small));
}

TEST(OpmlImport, ReadsBackEveryMinuteExported)
{
    QRandomGenerator random(77);
    for (int round = 0; round < 300; ++round) {
        const NodeList minute = randomMinute(random, int(random.bounded(40)), 1 + int(random.bounded(25)));
        NodeList read;
        const OpmlImport::Result result = OpmlImport::Read(render(minute), QStringLiteral("m.opml"), read);
        ASSERT_TRUE(result.ok()) << result.message.toStdString();
        ASSERT_TRUE(SameNodes(read, minute)) << "round " << round;
    }
}

TEST(OpmlImport, OutlinesFromElsewhereKeepWhatTheyMean)
{
    const QByteArray opml = R"(<?xml version="1.0"?><!-- by hand -->
<opml version="1.0" xmlns:x="urn:other">
  <head><title>Elsewhere</title><dateCreated>Mon, 1 Jan 2024</dateCreated><outline text="not an item"/></head>
  <body>
    <outline text="Attendees" type="list" _note="Ann &amp; Bob&#10;Caf&#233;" x:text="ignored">
      <outline text="Apologies" note="None &lt;yet&gt;"/>
      <outline text="Both" _note="kept" note="dropped"/>
      <outline _note="untitled"><x:outline text="foreign"/><section><outline text="in unknown"/></section></outline>
    </outline>
    <outline text=")" "\xc3\x9cn \xf0\x9f\x98\x80 'q' &quot;d&quot;" R"(" created="today"/>
    <outline text="  spaced  " _note="a&#13;&#10;b"/>
  </body>
</opml>)";
    NodeList read;
    ASSERT_TRUE(OpmlImport::Read(opml, QStringLiteral("x.opml"), read).ok());
    EXPECT_TRUE(SameNodes(read, makeList({{1, "Attendees", QString::fromUtf16(u"Ann & Bob\nCaf\u00e9")},
                                          {2, "Apologies", "None <yet>"}, {2, "Both", "kept"}, {2, "", "untitled"},
                                          {1, QString::fromUtf16(u"\u00dcn \U0001F600 'q' \"d\""), ""},
                                          {1, "  spaced  ", "a\r\nb"}})));
}

TEST(OpmlImport, WhatIsNotAnOutlineLeavesTheMinuteAsItWas)
{
    NodeList list = makeList({{1, "kept", "as it was"}});
    const std::pair<QByteArray, QString> cases[] = {
        {" \n", "it is empty."},
        {"{\"nodes\":[]}", "line 1: Start tag expected."},
        {"<!DOCTYPE html><html><body><br></body></html>", "its root element is <html>, not <opml>."},
        {"<opml version=\"2.0\"><head/></opml>", "it has no <body>."},
        {"<opml>\n<body>\n<outline text=\"a\">", "line 3: Premature end of document."},
        {"<opml><body><br></body></opml>", "line 1: Opening and ending tag mismatch."},
        {"<opml><body/></opml><opml/>", "line 1: Extra content at end of document."},
    };
    for (const auto& [bytes, reason] : cases) {
        const OpmlImport::Result result = OpmlImport::Read(bytes, QStringLiteral("in.opml"), list);
        EXPECT_EQ(result.status, OpmlImport::Result::NotOpml);
        EXPECT_EQ(result.message, QStringLiteral("in.opml is not an OPML file: ") + reason);
    }
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.opml"));
    const OpmlImport::Result result = OpmlImport::ReadFile(missing, missing, list);
    EXPECT_EQ(result.status, OpmlImport::Result::FileFailed);
    EXPECT_EQ(result.message, missing + QStringLiteral(" was not found."));
    EXPECT_TRUE(SameNodes(list, makeList({{1, "kept", "as it was"}})));

    // A body without outlines is an empty minute, as a new one is.
    ASSERT_TRUE(OpmlImport::Read("<opml version=\"2.0\"><body/></opml>", QStringLiteral("e.opml"), list).ok());
    EXPECT_TRUE(list.isEmpty());
}

TEST(OpmlImport, AHundredThousandLevelsDeepIsReadAndWrittenLinearly)
{
    constexpr int kDepth = 100000;
    const QByteArray opml = "<opml><body>" + QByteArray("<outline text=\"d\">").repeated(kDepth)
                            + QByteArray("</outline>").repeated(kDepth) + "</body></opml>";
    NodeList list;
    ASSERT_TRUE(OpmlImport::Read(opml, QStringLiteral("deep.opml"), list).ok());
    ASSERT_EQ(list.size(), kDepth);
    EXPECT_EQ(list.at(kDepth - 1)->GetLevel(), kDepth);
    EXPECT_EQ(list.at(kDepth - 2)->GetKind(), CTreeNode::kHasSubItems);
    list.removeRange(5000, kDepth);
    EXPECT_LT(render(list).size(), 500 * 5000); // indented without limit it would be 50 MB
}
