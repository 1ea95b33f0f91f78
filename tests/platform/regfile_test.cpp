#include "platform/regfile.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <random>

using testsupport::fromHex;

namespace {

constexpr auto User = RegistryHive::CurrentUser;

QStringList keyPath(const char* key)
{
    const std::optional<QStringList> path = splitKeyPath(QString::fromUtf8(key));
    return path ? *path : QStringList();
}

std::optional<RegistryValue> valueIn(const RegTree& tree, RegistryHive hive, const char* key, const QString& name)
{
    const RegKeyNode* node = tree.find(hive, keyPath(key));
    const RegistryValue* value = node ? node->value(name) : nullptr;
    return value ? std::optional(*value) : std::nullopt;
}

QStringList valueNamesIn(const RegTree& tree, RegistryHive hive, const char* key)
{
    const RegKeyNode* node = tree.find(hive, keyPath(key));
    return node ? node->valueNames() : QStringList();
}

RegistryValue typed(quint32 type, const char* hex)
{
    return {type, fromHex(hex)};
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
}

QByteArray bytesOf(const char* text, std::size_t size)
{
    return QByteArray(text, qsizetype(size));
}

} // namespace

TEST(RegFileFormat, WritesEveryKeyAsASectionInTreeOrder)
{
    RegTree tree;
    tree.create(RegistryHive::LocalMachine, keyPath("machine"));
    tree.create(RegistryHive::ClassesRoot, keyPath(".qmn"));
    tree.create(User, keyPath("order\\charlie"));
    tree.create(User, keyPath("order\\Beta"));
    tree.create(User, keyPath("order\\alpha"));
    RegKeyNode& options = tree.create(User, keyPath("software\\Corvexa\\Quillon\\Options"));
    options.setValue(QStringLiteral("WarningOnDelete"), RegistryValue::fromDword(1));
    options.setValue(QStringLiteral("FilePath"), RegistryValue::fromString(QStringLiteral("C:\\some \"quoted\" path")));
    options.setValue(QString(), RegistryValue::fromString(QStringLiteral("default value")));
    options.setValue(QStringLiteral("Blob"), typed(RegBinary, "01 02 ff"));
    options.setValue(QStringLiteral("Odd"), typed(RegSz, "61 00 62"));
    options.setValue(QStringLiteral("Other"), typed(RegMultiSz, "61 00 00 00 00 00"));
    options.setValue(QStringLiteral("Say \"hi\"\\"), RegistryValue::fromDword(0xdeadbeef));

    // Hives and sub keys in case-insensitive name order, parents first, values
    // in creation order.
    const QByteArray expected =
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "[HKEY_CLASSES_ROOT\\.qmn]\n"
        "\n"
        "[HKEY_CURRENT_USER\\order]\n"
        "\n"
        "[HKEY_CURRENT_USER\\order\\alpha]\n"
        "\n"
        "[HKEY_CURRENT_USER\\order\\Beta]\n"
        "\n"
        "[HKEY_CURRENT_USER\\order\\charlie]\n"
        "\n"
        "[HKEY_CURRENT_USER\\software]\n"
        "\n"
        "[HKEY_CURRENT_USER\\software\\Corvexa]\n"
        "\n"
        "[HKEY_CURRENT_USER\\software\\Corvexa\\Quillon]\n"
        "\n"
        "[HKEY_CURRENT_USER\\software\\Corvexa\\Quillon\\Options]\n"
        "\"WarningOnDelete\"=dword:00000001\n"
        "\"FilePath\"=\"C:\\\\some \\\"quoted\\\" path\"\n"
        "@=\"default value\"\n"
        "\"Blob\"=hex:01,02,ff\n"
        "\"Odd\"=hex(1):61,00,62\n"
        "\"Other\"=hex(7):61,00,00,00,00,00\n"
        "\"Say \\\"hi\\\"\\\\\"=dword:deadbeef\n"
        "\n"
        "[HKEY_LOCAL_MACHINE\\machine]\n";
    EXPECT_EQ(formatRegFile(tree), expected);
}

TEST(RegFileFormat, EmptyTreeIsJustTheVersionLine)
{
    EXPECT_EQ(formatRegFile(RegTree()), QByteArray("Windows Registry Editor Version 5.00\n"));
}

TEST(RegFileRoundTrip, EveryValueFormReadsBackToTheSameBytes)
{
    struct Case {
        QString name;
        RegistryValue value;
        QString line; // the line the value must be written as
    };
    const QString surrogatePair = QString::fromUtf8("\xF0\x9F\x93\x9D");
    const QList<Case> cases = {
        {QStringLiteral("Path"), RegistryValue::fromString(QString::fromUtf8(R"(C:\a\"b"\)")),
         QString::fromUtf8(R"("Path"="C:\\a\\\"b\"\\")")},
        {QString(), RegistryValue::fromString(QStringLiteral("default")), QStringLiteral("@=\"default\"")},
        {QStringLiteral("Empty"), RegistryValue::fromString(QString()), QStringLiteral("\"Empty\"=\"\"")},
        {QStringLiteral("Unicode"), RegistryValue::fromString(QStringLiteral("Grüße ") + surrogatePair + QStringLiteral("\tend")),
         QStringLiteral("\"Unicode\"=\"Grüße ") + surrogatePair + QStringLiteral("\tend\"")},
        {QStringLiteral("Number"), RegistryValue::fromDword(0x0a0b0c0d), QStringLiteral("\"Number\"=dword:0a0b0c0d")},
        {QStringLiteral("Blob"), typed(RegBinary, "00 7f 80 ff"), QStringLiteral("\"Blob\"=hex:00,7f,80,ff")},
        {QStringLiteral("NoBytes"), typed(RegBinary, ""), QStringLiteral("\"NoBytes\"=hex:")},
        {QStringLiteral("OddSize"), typed(RegSz, "61 00 62 00 00"), QStringLiteral("\"OddSize\"=hex(1):61,00,62,00,00")},
        {QStringLiteral("InnerZero"), typed(RegSz, "61 00 00 00 62 00 00 00"), QStringLiteral("\"InnerZero\"=hex(1):61,00,00,00,62,00,00,00")},
        {QStringLiteral("NoTerminator"), typed(RegSz, "61 00 62 00"), QStringLiteral("\"NoTerminator\"=hex(1):61,00,62,00")},
        {QStringLiteral("Newline"), RegistryValue::fromString(QStringLiteral("a\nb")), QStringLiteral("\"Newline\"=hex(1):61,00,0a,00,62,00,00,00")},
        {QStringLiteral("Return"), RegistryValue::fromString(QStringLiteral("a\r")), QStringLiteral("\"Return\"=hex(1):61,00,0d,00,00,00")},
        {QStringLiteral("LoneSurrogate"), typed(RegSz, "00 d8 00 00"), QStringLiteral("\"LoneSurrogate\"=hex(1):00,d8,00,00")},
        {QStringLiteral("NoSzBytes"), typed(RegSz, ""), QStringLiteral("\"NoSzBytes\"=hex(1):")},
        {QStringLiteral("Expand"), typed(RegExpandSz, "25 00 00 00"), QStringLiteral("\"Expand\"=hex(2):25,00,00,00")},
        {QStringLiteral("Multi"), typed(RegMultiSz, "61 00 00 00 00 00"), QStringLiteral("\"Multi\"=hex(7):61,00,00,00,00,00")},
        {QStringLiteral("ShortDword"), typed(RegDword, "01 02 03"), QStringLiteral("\"ShortDword\"=hex(4):01,02,03")},
        {QStringLiteral("None"), typed(RegNone, ""), QStringLiteral("\"None\"=hex(0):")},
        {QStringLiteral("Custom"), typed(0x12345678, "aa"), QStringLiteral("\"Custom\"=hex(12345678):aa")},
        {QStringLiteral("Max type"), typed(0xffffffff, "01"), QStringLiteral("\"Max type\"=hex(ffffffff):01")},
    };

    RegTree tree;
    RegKeyNode& key = tree.create(User, keyPath("Software\\Values"));
    QStringList names;
    for (const Case& c : cases) {
        key.setValue(c.name, c.value);
        names.append(c.name);
    }
    const QByteArray text = formatRegFile(tree);
    const QStringList lines = QString::fromUtf8(text).split(u'\n');
    const RegTree reread = parseRegFile(text);

    EXPECT_EQ(valueNamesIn(reread, User, "Software\\Values"), names);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_TRUE(lines.contains(c.line)) << text.toStdString();
        const std::optional<RegistryValue> back = valueIn(reread, User, "Software\\Values", c.name);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->type, c.value.type);
        EXPECT_EQ(back->data.toHex(' '), c.value.data.toHex(' '));
    }
}

TEST(RegFileRoundTrip, LongDataWrapsOntoIndentedLinesAndReadsBack)
{
    QByteArray blob;
    for (int i = 0; i < 700; ++i)
        blob.append(char(i * 7));
    RegTree tree;
    tree.create(User, keyPath("k")).setValue(QStringLiteral("Blob"), {RegBinary, blob});
    tree.create(User, keyPath("k")).setValue(QStringLiteral("After"), RegistryValue::fromDword(5));

    const QByteArray text = formatRegFile(tree);
    const QStringList lines = QString::fromUtf8(text).split(u'\n');
    int continuations = 0;
    for (const QString& line : lines) {
        EXPECT_LE(line.size(), 80) << line.toStdString();
        if (line.startsWith(QStringLiteral("  "))) {
            ++continuations;
            EXPECT_TRUE(line.size() > 2 && isHexDigit(line[2])) << line.toStdString();
        }
    }
    EXPECT_GT(continuations, 20);

    const RegTree reread = parseRegFile(text);
    const std::optional<RegistryValue> back = valueIn(reread, User, "k", QStringLiteral("Blob"));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->data, blob);
    EXPECT_EQ(valueIn(reread, User, "k", QStringLiteral("After")), RegistryValue::fromDword(5));
}

TEST(RegFileParse, AcceptsBomCrlfMissingVersionLineAndContinuations)
{
    const QByteArray crlfWithBom =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
        "\"Bin\"=hex:01,02,\\\r\n"
        "  03,04,\\\r\n"
        "\t05\r\n"
        "; a comment line\r\n"
        "\"Name\" = \"value\"   \r\n"
        "@=DWORD:0000002A\r\n"
        "\r\n"
        "[hkey_local_machine\\Other]\r\n"
        "\"Sz\"=HEX(1):61,00,00,00\r\n";
    const QByteArray lfWithoutVersion =
        "[HKEY_CURRENT_USER\\Software\\Test]\n"
        "\"Bin\"=hex:01,02,\\\n"
        "  03,04,\\\n"
        "\t05\n"
        "\"Name\"=\"value\"\n"
        "@=dword:2a\n"
        "[HKEY_LOCAL_MACHINE\\Other]\n"
        "\"Sz\"=hex(1):61,00,00,00";

    for (const QByteArray& text : {crlfWithBom, lfWithoutVersion}) {
        SCOPED_TRACE(text.toStdString());
        const RegTree tree = parseRegFile(text);
        EXPECT_EQ(valueIn(tree, User, "Software\\Test", QStringLiteral("Bin")), typed(RegBinary, "01 02 03 04 05"));
        EXPECT_EQ(valueIn(tree, User, "Software\\Test", QStringLiteral("Name")), RegistryValue::fromString(QStringLiteral("value")));
        EXPECT_EQ(valueIn(tree, User, "Software\\Test", QString()), RegistryValue::fromDword(42));
        EXPECT_EQ(valueIn(tree, RegistryHive::LocalMachine, "Other", QStringLiteral("Sz")), RegistryValue::fromString(QStringLiteral("a")));
        EXPECT_EQ(tree.root(User).childNames(), QStringList{QStringLiteral("Software")});
    }
}

TEST(RegFileParse, DamagedLinesAreSkippedAndTheRestKept)
{
    static const char text[] =
        "Windows Registry Editor Version 5.00\n"
        "\"Orphan\"=\"before any section\"\n"
        "[HKEY_CURRENT_USER\\Good]\n"
        "\"Kept1\"=\"one\"\n"
        "\"Unterminated\"=\"abc\n"
        "\"UnterminatedName=\"abc\"\n"
        "\"BadEscape\"=\"a\\nb\"\n"
        "\"NoEquals\" \"x\"\n"
        "\"BadDword\"=dword:xyz\n"
        "\"LongDword\"=dword:123456789\n"
        "\"EmptyDword\"=dword:\n"
        "\"BadHex\"=hex:01,0g\n"
        "\"WideHex\"=hex:012\n"
        "\"BadType\"=hex(zz):00\n"
        "\"NoTypeClose\"=hex(1:00\n"
        "\"TrailingComma\"=hex:01,\n"
        "\"Deleted\"=-\n"
        "@=-\n"
        "\"Unknown\"=str:abc\n"
        "\"Trailer\"=\"x\" y\n"
        "\"Ctl\x01Name\"=\"x\"\n"
        "\"Kept2\"=dword:00000002\n"
        "[HKEY_NOWHERE\\Lost]\n"
        "\"LostValue\"=\"x\"\n"
        "[HKEY_CURRENT_USER\\Bad\\\\Key]\n"
        "\"InBadKey\"=\"x\"\n"
        "[HKEY_CURRENT_USER\\Tab\there]\n"
        "\"InTabKey\"=\"x\"\n"
        "[HKEY_CURRENT_USER]\n"
        "\"OnHive\"=\"x\"\n"
        "[-HKEY_CURRENT_USER\\Good]\n"
        "\"AfterDeletion\"=\"x\"\n"
        "[HKEY_CURRENT_USER\\Truncated\n"
        "\"AfterTruncated\"=\"x\"\n"
        "[HKEY_CURRENT_USER\\Good]\n"
        "\"Cut\"=hex:01,02,\\\n"
        "[HKEY_CURRENT_USER\\Second]\n"
        "\xff\xfe\x00\x80 binary junk \x00\n"
        "  05,06\n"
        "\"Kept3\"=\"three\"\n"
        "\"Half";
    const RegTree tree = parseRegFile(bytesOf(text, sizeof text - 1));

    EXPECT_EQ(tree.root(User).childNames(), (QStringList{QStringLiteral("Good"), QStringLiteral("Second")}));
    EXPECT_EQ(valueNamesIn(tree, User, "Good"), (QStringList{QStringLiteral("Kept1"), QStringLiteral("Kept2")}));
    EXPECT_EQ(valueIn(tree, User, "Good", QStringLiteral("Kept1")), RegistryValue::fromString(QStringLiteral("one")));
    EXPECT_EQ(valueIn(tree, User, "Good", QStringLiteral("Kept2")), RegistryValue::fromDword(2));
    EXPECT_EQ(valueNamesIn(tree, User, "Second"), QStringList{QStringLiteral("Kept3")});
    EXPECT_TRUE(tree.root(RegistryHive::LocalMachine).children.empty());
    EXPECT_TRUE(tree.root(RegistryHive::ClassesRoot).children.empty());
    EXPECT_TRUE(tree.root(User).values.empty());
}

TEST(RegFileParse, DuplicateKeysAndNamesMergeCaseInsensitivelyLastValueWins)
{
    const QByteArray text =
        "[HKEY_CURRENT_USER\\Software\\Foo]\n"
        "\"Name\"=\"first\"\n"
        "\"Other\"=dword:00000001\n"
        "[hkey_current_user\\SOFTWARE\\foo]\n"
        "\"NAME\"=\"second\"\n"
        "[HKEY_CURRENT_USER\\software\\FOO\\Bar]\n"
        "\"other\"=dword:00000002\n"
        "\"Other\"=dword:00000003\n"
        "\"Other\"=dword:00000004\n";
    const RegTree tree = parseRegFile(text);

    // The names keep the case of their first appearance.
    EXPECT_EQ(tree.root(User).childNames(), QStringList{QStringLiteral("Software")});
    EXPECT_EQ(tree.find(User, keyPath("software"))->childNames(), QStringList{QStringLiteral("Foo")});
    EXPECT_EQ(valueNamesIn(tree, User, "software\\foo"), (QStringList{QStringLiteral("Name"), QStringLiteral("Other")}));
    EXPECT_EQ(valueIn(tree, User, "Software\\Foo", QStringLiteral("name")), RegistryValue::fromString(QStringLiteral("second")));
    EXPECT_EQ(valueIn(tree, User, "Software\\Foo", QStringLiteral("other")), RegistryValue::fromDword(1));
    EXPECT_EQ(valueNamesIn(tree, User, "Software\\Foo\\Bar"), QStringList{QStringLiteral("other")});
    EXPECT_EQ(valueIn(tree, User, "Software\\Foo\\Bar", QStringLiteral("OTHER")), RegistryValue::fromDword(4));
}

TEST(RegFileParse, HugeAndRandomInputNeitherBreaksTheReaderNorTheWriter)
{
    // A path far deeper than any key may be, data lines without end, and a
    // quote that never closes.
    QByteArray deep = "[HKEY_CURRENT_USER";
    for (int i = 0; i < 200000; ++i)
        deep += "\\k";
    deep += "]\n\"v\"=dword:1\n";
    QByteArray hugeHex = "[HKEY_CURRENT_USER\\hex]\n\"v\"=hex:";
    for (int i = 0; i < 300000; ++i)
        hugeHex += "ab,\\\n  ";
    hugeHex += "cd\n";
    const QByteArray unclosed = "[HKEY_CURRENT_USER\\quote]\n\"" + QByteArray(2000000, 'x');

    const RegTree deepTree = parseRegFile(deep);
    EXPECT_TRUE(deepTree.root(User).children.empty());
    const RegTree hexTree = parseRegFile(hugeHex);
    const std::optional<RegistryValue> hex = valueIn(hexTree, User, "hex", QStringLiteral("v"));
    ASSERT_TRUE(hex.has_value());
    EXPECT_EQ(hex->data.size(), 300001);
    const RegTree quoteTree = parseRegFile(unclosed);
    EXPECT_TRUE(valueNamesIn(quoteTree, User, "quote").isEmpty());

    // Random damage to a good file: whatever is read must be written as a
    // file that reads back to the same thing.
    static const char* const pieces[] = {
        "[", "]", "HKEY_CURRENT_USER", "hkey_classes_root", "\\", "\"", "\\\"", "=", "@", "-", "hex(", ")", ":",
        "dword:", ",", "0", "ff", "\n", "\r\n", "  ", "\t", "\x01", "\xc3\xa9", "\xed\xa0\x80", "\xff", "", ";", "\\\n  ",
    };
    const QByteArray good =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CLASSES_ROOT\\.qmn]\n@=\"Quillon.Minutes\"\n\n"
        "[HKEY_CURRENT_USER\\Software\\Corvexa\\Quillon]\n"
        "\"Path\"=\"C:\\\\some \\\"quoted\\\" path\"\n"
        "\"Count\"=dword:0000002a\n"
        "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,\\\n"
        "  18,19,1a,1b\n"
        "\"Odd\"=hex(1):61,00,62\n\n"
        "[HKEY_LOCAL_MACHINE\\Device]\n\"Multi\"=hex(7):61,00,00,00,00,00\n";
    std::mt19937 random(20240611);
    const auto below = [&](qsizetype n) { return std::uniform_int_distribution<qsizetype>(0, n - 1)(random); };
    for (int round = 0; round < 1000; ++round) {
        QByteArray damaged = good;
        for (qsizetype edits = 1 + below(6); edits > 0; --edits) {
            const char* piece = pieces[below(qsizetype(std::size(pieces)))];
            // The empty piece stands for a zero byte.
            const QByteArray bytes = *piece ? QByteArray(piece) : QByteArray(1, '\0');
            const qsizetype at = below(damaged.size() + 1);
            switch (below(3)) {
            case 0:
                damaged.insert(at, bytes);
                break;
            case 1:
                damaged.remove(at, 1 + below(12));
                break;
            default:
                damaged.replace(at, 1, bytes);
                break;
            }
        }
        const QByteArray clean = formatRegFile(parseRegFile(damaged));
        ASSERT_EQ(formatRegFile(parseRegFile(clean)), clean) << "damaged: " << damaged.toHex().toStdString();
    }
}
