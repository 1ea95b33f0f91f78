// The byte format of minute files: what the writer produces and what the
// reader accepts or refuses.

#include "model/archive.h"
#include "model/minutefile.h"
#include "model/treenode.h"
#include "options/options.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using testsupport::fromHex;

namespace {

NodeList makeList(std::initializer_list<CTreeNode> nodes)
{
    NodeList list;
    for (const CTreeNode& n : nodes) {
        auto node = std::make_unique<CTreeNode>();
        node->CopyNode(n);
        node->SetReserved(n.GetReserved());
        list.append(std::move(node));
    }
    return list;
}

QByteArray write(const NodeList& list)
{
    MemorySink sink;
    WriteMinute(sink, list);
    return sink.data();
}

MinuteFileResult read(const QByteArray& bytes, NodeList& list)
{
    MemorySource source(bytes);
    return ReadMinute(source, list);
}

// The header of a one-node file, up to where the title string begins.
const char* const kFirstNodeHeader = "01 00 FF FF 01 00 09 00 43 54 72 65 65 4E 6F 64 65";

} // namespace

TEST(MinuteFormat, WorkedExampleIsWrittenAndReadByteForByte)
{
    const QByteArray golden = testsupport::readFile(testsupport::dataPath(QStringLiteral("worked_example.min")));
    ASSERT_EQ(golden.size(), 65);

    const NodeList list = makeList({CTreeNode(QStringLiteral("A"), QString(), 1, 0),
                                    CTreeNode(QStringLiteral("B"), QStringLiteral("x"), 2, 1)});
    EXPECT_EQ(write(list).toHex(' '), golden.toHex(' '));

    NodeList loaded;
    ASSERT_TRUE(read(golden, loaded).ok());
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded.at(0)->GetTitle(), QStringLiteral("A"));
    EXPECT_EQ(loaded.at(0)->GetText(), QString());
    EXPECT_EQ(loaded.at(0)->GetLevel(), 1);
    EXPECT_EQ(loaded.at(0)->GetKind(), 0);
    EXPECT_EQ(loaded.at(1)->GetTitle(), QStringLiteral("B"));
    EXPECT_EQ(loaded.at(1)->GetText(), QStringLiteral("x"));
    EXPECT_EQ(loaded.at(1)->GetLevel(), 2);
    EXPECT_EQ(loaded.at(1)->GetKind(), 1);
}

TEST(MinuteFormat, EmptyMinuteIsTwoZeroBytesAndEmptyStringIsFourBytes)
{
    EXPECT_EQ(write(NodeList()), fromHex("00 00"));

    const QByteArray oneEmptyNode = write(makeList({CTreeNode(QString(), QString(), 1, 1)}));
    EXPECT_EQ(oneEmptyNode.mid(17, 8), fromHex("FF FE FF 00 FF FE FF 00"));
}

TEST(MinuteFormat, StringLengthFormsAfterTheWideMarker)
{
    struct Case {
        int length;
        const char* prefix;
    } cases[] = {
        {254, "FF FE FF FE"},
        {255, "FF FE FF FF FF 00"},
        {0xFFFD, "FF FE FF FF FD FF"},
        {0xFFFE, "FF FE FF FF FF FF FE FF 00 00"},
        {0x12345, "FF FE FF FF FF FF 45 23 01 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        QString title(c.length, QChar(u'\u00e9'));
        title[c.length - 1] = QChar(u'\u4e2d');
        const QByteArray bytes = write(makeList({CTreeNode(title, QString(), 1, 1)}));
        const QByteArray prefix = fromHex(c.prefix);
        EXPECT_EQ(bytes.mid(17, prefix.size()).toHex(' '), prefix.toHex(' '));
        EXPECT_EQ(bytes.size(), 17 + prefix.size() + 2 * c.length + 4 + 12);

        NodeList loaded;
        ASSERT_TRUE(read(bytes, loaded).ok());
        EXPECT_EQ(loaded.at(0)->GetTitle(), title);
    }
}

TEST(MinuteFormat, CountFormsAndTheLaterClassReference)
{
    for (int count : {0xFFFE, 0xFFFF}) {
        SCOPED_TRACE(count);
        NodeList list;
        for (int i = 0; i < count; ++i)
            list.append(std::make_unique<CTreeNode>(QString(), QString(), 1, 1));
        const QByteArray bytes = write(list);
        if (count < 0xFFFF)
            EXPECT_EQ(bytes.left(2), fromHex("FE FF"));
        else
            EXPECT_EQ(bytes.left(6), fromHex("FF FF FF FF 00 00"));
        // Every node after the first refers back to the class stored first.
        EXPECT_EQ(bytes.right(22).left(2), fromHex("01 80"));

        NodeList loaded;
        ASSERT_TRUE(read(bytes, loaded).ok());
        EXPECT_EQ(loaded.size(), count);
    }
}

TEST(MinuteFormat, WriterEscapesClassIndexesFromSevenFFFOn)
{
    // Fill the numbering so that a second class gets index 0x7FFF.
    MemorySink sink;
    Archive ar(sink);
    CTreeNode node;
    for (int i = 0; i < 0x7FFD; ++i)
        ar.WriteObject(node); // class 1, objects 2..0x7FFE
    COptions options;
    ar.WriteObject(options); // class 0x7FFF, object 0x8000
    ar.WriteObject(options);
    ar.Flush();
    EXPECT_EQ(sink.data().right(6), fromHex("FF 7F FF 7F 00 80"));
    EXPECT_EQ(sink.data().right(6 + 8 + 6).left(8), fromHex("FF FF 01 00 08 00 43 4F"));
}

TEST(MinuteFormat, ReaderAcceptsTheEscapedClassReference)
{
    QByteArray bytes = write(makeList({CTreeNode(QStringLiteral("A"), QString(), 1, 0),
                                       CTreeNode(QStringLiteral("B"), QString(), 2, 1)}));
    const qsizetype secondTag = bytes.indexOf(fromHex("01 80"), 17);
    ASSERT_GT(secondTag, 0);
    bytes.replace(secondTag, 2, fromHex("FF 7F 01 00 00 80"));

    NodeList loaded;
    ASSERT_TRUE(read(bytes, loaded).ok());
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded.at(1)->GetTitle(), QStringLiteral("B"));
}

TEST(MinuteFormat, SingleByteStringsAreReadAsWindows1252)
{
    // Title without the wide marker: "Caf\xE9 \x80\x81" in the 1-byte form,
    // text in the 3-byte form (300 single-byte characters).
    QByteArray bytes = fromHex(kFirstNodeHeader);
    bytes += fromHex("07 43 61 66 E9 20 80 81");
    bytes += fromHex("FF 2C 01") + QByteArray(300, 'z');
    bytes += fromHex("01 00 00 00 01 00 00 00 00 00 00 00");

    NodeList loaded;
    ASSERT_TRUE(read(bytes, loaded).ok());
    EXPECT_EQ(loaded.at(0)->GetTitle(), QString::fromUtf16(u"Caf\u00e9 \u20ac\u0081"));
    EXPECT_EQ(loaded.at(0)->GetText(), QString(300, QLatin1Char('z')));
}

TEST(MinuteFormat, ReservedWordAndOddCharactersSurviveARoundTrip)
{
    QByteArray bytes = write(makeList({CTreeNode(QString::fromUtf16(u"\U0001F600 \xd800 lone"), QStringLiteral("a\r\nb"), 1, 1)}));
    // Put a reserved word into the file as another writer might have.
    bytes.replace(bytes.size() - 4, 4, fromHex("EF BE AD DE"));

    NodeList loaded;
    ASSERT_TRUE(read(bytes, loaded).ok());
    EXPECT_EQ(loaded.at(0)->GetReserved(), 0xDEADBEEFu);
    EXPECT_EQ(loaded.at(0)->GetTitle(), QString::fromUtf16(u"\U0001F600 \xd800 lone"));
    EXPECT_EQ(write(loaded), bytes);
}

TEST(MinuteFormat, BytesAfterTheLastNodeAreIgnored)
{
    const QByteArray golden = testsupport::readFile(testsupport::dataPath(QStringLiteral("worked_example.min")));
    NodeList loaded;
    EXPECT_TRUE(read(golden + QByteArray("trailing garbage \xff\xff", 19), loaded).ok());
    EXPECT_EQ(loaded.size(), 2);
}

TEST(MinuteFormat, DamagedFilesAreUnexpectedFormatAndLeaveNothing)
{
    const QByteArray golden = testsupport::readFile(testsupport::dataPath(QStringLiteral("worked_example.min")));
    const QByteArray node = fromHex("FF FE FF 00 FF FE FF 00 01 00 00 00 01 00 00 00 00 00 00 00");
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"nothing at all", QByteArray()},
        {"count larger than the nodes", fromHex("03") + golden.mid(1)},
        {"other class name", fromHex("01 00 FF FF 01 00 09 00 43 54 72 65 65 4E 6F 64 66") + node},
        {"other schema", fromHex("01 00 FF FF 02 00 09 00 43 54 72 65 65 4E 6F 64 65") + node},
        {"class name of 64 bytes", fromHex("01 00 FF FF 01 00 40 00") + QByteArray(64, 'C') + node},
        {"class name shorter than stated", fromHex("01 00 FF FF 01 00 0A 00 43 54 72 65 65 4E 6F 64 65")},
        {"class reference before any class", fromHex("01 00 01 80") + node},
        {"class reference past the table", golden.left(39) + fromHex("03 80") + golden.mid(41)},
        {"class reference to the first node", golden.left(39) + fromHex("02 80") + golden.mid(41)},
        {"object reference", golden.left(39) + fromHex("02 00") + golden.mid(41)},
        {"null tag", fromHex("01 00 00 00") + node},
        {"second wide marker", fromHex(kFirstNodeHeader) + fromHex("FF FE FF FF FE FF 00") + node.mid(4)},
        {"string longer than the file", fromHex(kFirstNodeHeader) + fromHex("FF FE FF FF FF FF FF FF FF FF")},
        {"narrow string longer than the file", fromHex(kFirstNodeHeader) + fromHex("FF FF FF FF FF FF FF 41")},
        {"huge count", fromHex("FF FF FF FF FF FF") + golden.mid(2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NodeList loaded;
        loaded.append(std::make_unique<CTreeNode>(QStringLiteral("stale"), QString(), 1, 1));
        const MinuteFileResult result = read(c.bytes, loaded);
        EXPECT_EQ(result.status, MinuteFileResult::BadFormat);
        EXPECT_EQ(result.message(), QStringLiteral("Unexpected file format."));
        EXPECT_TRUE(loaded.isEmpty());
    }

    // Every truncation of a good file fails the same way.
    for (qsizetype length = 0; length < golden.size(); ++length) {
        SCOPED_TRACE(length);
        NodeList loaded;
        EXPECT_EQ(read(golden.left(length), loaded).status, MinuteFileResult::BadFormat);
        EXPECT_TRUE(loaded.isEmpty());
    }
}

TEST(MinuteFormat, NumberingLimitIsABadIndexBothWays)
{
    MemorySink sink;
    Archive writer(sink);
    writer.SetMapLimitForTesting(4); // room for the class and two nodes
    CTreeNode node;
    writer.WriteObject(node);
    writer.WriteObject(node);
    try {
        writer.WriteObject(node);
        FAIL() << "the third node should not fit";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.cause(), ArchiveException::BadIndex);
    }

    const QByteArray golden = testsupport::readFile(testsupport::dataPath(QStringLiteral("worked_example.min")));
    MemorySource source(golden);
    Archive reader(source);
    reader.SetMapLimitForTesting(3);
    EXPECT_EQ(reader.ReadCount(), 2u);
    EXPECT_NO_THROW(reader.ReadObject(CTreeNode::classCTreeNode));
    EXPECT_THROW(reader.ReadObject(CTreeNode::classCTreeNode), ArchiveException);
}

TEST(MinuteFormat, OptionsSerialiseToNothing)
{
    COptions options;
    MemorySink sink;
    Archive storing(sink);
    storing << quint8(7);
    options.Serialize(storing);
    storing.Flush();
    EXPECT_EQ(sink.data(), fromHex("07"));

    const QByteArray bytes = fromHex("01 02 03");
    MemorySource source(bytes);
    Archive loading(source);
    options.Serialize(loading);
    EXPECT_EQ(loading.BytesLeft(), 3);
}
