#include "platform/contactsstore.h"

#include "platform/devicepaths.h"
#include "platform/registry.h"
#include "testsupport.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::writeFile;

namespace {

constexpr auto ClassesRoot = RegistryHive::ClassesRoot;

QString str(const char* text)
{
    return QString::fromUtf8(text);
}

QByteArray card(const char* body)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\n") + body + "END:VCARD\r\n";
}

QList<quint32> idsOf(const ContactsFolder& folder)
{
    QList<quint32> ids;
    for (int i = 1; i <= folder.Count(); ++i)
        ids.append(folder.Item(i)->ObjectId());
    return ids;
}

class ContactsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("device")));
    }

    // The folder as the device spells it differently from the host.
    QString contactsFolder()
    {
        const QString folder = m_dir.filePath(QStringLiteral("device/contacts"));
        EXPECT_TRUE(QDir().mkpath(folder));
        return folder;
    }

    void addBook(const QString& name, const QByteArray& data) { ASSERT_TRUE(writeFile(contactsFolder() + u'/' + name, data)); }

    QTemporaryDir m_dir;
    DevicePaths m_device{m_dir.filePath(QStringLiteral("device"))};
    Registry m_registry{m_dir.filePath(QStringLiteral("device/registry.reg"))};
};

} // namespace

TEST_F(ContactsStoreTest, RegistersItsApplicationObject)
{
    ContactsStore store(m_registry, m_device);
    EXPECT_FALSE(store.IsRegistered());
    ASSERT_TRUE(store.Register());
    EXPECT_TRUE(store.IsRegistered());

    // Written through to the file: another reader of it sees the same keys.
    Registry again(m_registry.filePath());
    EXPECT_TRUE(ContactsStore(again, m_device).IsRegistered());
    EXPECT_EQ(again.value(ClassesRoot, str("PocketOutlook.Application"), QString()),
              RegistryValue::fromString(str("Pocket Outlook")));
    EXPECT_EQ(again.value(ClassesRoot, str("PocketOutlook.Application\\CLSID"), QString()),
              RegistryValue::fromString(str("{05058F23-20BE-11D2-8F18-0000F87A4335}")));
    EXPECT_FALSE(again.keyExists(RegistryHive::CurrentUser, str("PocketOutlook.Application")));
}

TEST_F(ContactsStoreTest, RegisteringFailsWhenTheRegistryCannotBeWritten)
{
    // A registry whose folder is a file can never be written.
    ASSERT_TRUE(writeFile(m_dir.filePath(QStringLiteral("blocker")), "not a folder"));
    Registry blocked(m_dir.filePath(QStringLiteral("blocker/registry.reg")));
    ContactsStore store(blocked, m_device);
    EXPECT_FALSE(store.Register());
    EXPECT_FALSE(store.IsRegistered());
}

TEST_F(ContactsStoreTest, LogOnReadsEveryAddressBookInNameOrder)
{
    addBook(str("b.vcf"), card("UID:b1\r\nN:Second;Bea;;;\r\n") + card("UID:b2\r\nN:Third;Cal;;;\r\n"));
    addBook(str("A.VCF"), card("UID:a1\r\nN:First;Ada;;;\r\nEMAIL:ada@example.com\r\n"));
    addBook(str("c.vcf.txt"), card("UID:x\r\nN:Ignored;Text;;;\r\n"));
    addBook(str("d.vcf"), QByteArray("\x00\xFF garbage without cards\r\n", 25));
    ASSERT_TRUE(QDir().mkpath(contactsFolder() + QStringLiteral("/folder.vcf")));

    ContactsStore store(m_registry, m_device);
    EXPECT_EQ(store.DefaultContactsFolder(), nullptr);
    ASSERT_TRUE(store.LogOn());
    EXPECT_TRUE(store.IsLoggedOn());
    const ContactsFolder* folder = store.DefaultContactsFolder();
    ASSERT_TRUE(folder);
    ASSERT_EQ(folder->Count(), 3);
    EXPECT_EQ(folder->Item(0), nullptr);
    EXPECT_EQ(folder->Item(4), nullptr);
    EXPECT_EQ(folder->Item(1)->Property(str("Last Name")), str("First"));
    EXPECT_EQ(folder->Item(1)->Property(str("Email")), str("ada@example.com"));
    EXPECT_EQ(folder->Item(2)->Property(str("Last Name")), str("Second"));
    EXPECT_EQ(folder->Item(3)->Property(str("Last Name")), str("Third"));

    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(store.ItemByObjectId(folder->Item(i)->ObjectId()), folder->Item(i));

    // Logging on again reads afresh rather than adding.
    ASSERT_TRUE(store.LogOn());
    EXPECT_EQ(store.DefaultContactsFolder()->Count(), 3);

    const quint32 someId = store.DefaultContactsFolder()->Item(1)->ObjectId();
    store.LogOff();
    EXPECT_FALSE(store.IsLoggedOn());
    EXPECT_EQ(store.DefaultContactsFolder(), nullptr);
    EXPECT_EQ(store.ItemByObjectId(someId), nullptr);
}

TEST_F(ContactsStoreTest, ReadsOnAThreadOfItsOwnAndCatchesUpWithChangedBooks)
{
    addBook(str("a.vcf"), card("UID:a\r\nN:First;Ada;;;\r\n"));
    ContactsStore store(m_registry, m_device);
    ASSERT_TRUE(store.LogOn());
    ASSERT_EQ(store.DefaultContactsFolder()->Count(), 1);
    EXPECT_NE(store.ReaderThread(), std::this_thread::get_id());
    EXPECT_FALSE(store.NeedsRefresh());

    addBook(str("b.vcf"), card("UID:b\r\nN:Second;Bea;;;\r\n"));
    addBook(str("a.vcf"), card("UID:a\r\nN:Renamed;Ada;;;\r\n"));
    EXPECT_TRUE(store.NeedsRefresh());
    store.Refresh();
    EXPECT_FALSE(store.NeedsRefresh());
    const ContactsFolder* folder = store.DefaultContactsFolder();
    ASSERT_EQ(folder->Count(), 2);
    EXPECT_EQ(folder->Item(1)->Property(str("Last Name")), str("Renamed"));
    EXPECT_EQ(store.ItemByObjectId(folder->Item(2)->ObjectId())->Property(str("Last Name")), str("Second"));
}

TEST_F(ContactsStoreTest, MissingFolderLogsOnEmpty)
{
    ContactsStore store(m_registry, m_device);
    ASSERT_TRUE(store.LogOn());
    ASSERT_TRUE(store.DefaultContactsFolder());
    EXPECT_EQ(store.DefaultContactsFolder()->Count(), 0);
    EXPECT_EQ(store.DefaultContactsFolder()->Item(1), nullptr);
    EXPECT_EQ(store.ItemByObjectId(1), nullptr);
}

TEST_F(ContactsStoreTest, ObjectIdsAreStableDistinctAndNeverZero)
{
    // FNV-1a of "foobar" is bf9cf968; "zero-bdakrb(" hashes to 0 and "last-vy3lnI" to ffffffff.
    addBook(str("book.vcf"), card("UID:foobar\r\nFN:Plain\r\n") + card("UID:zero-bdakrb(\r\nFN:Zero\r\n")
                                 + card("UID:last-vy3lnI\r\nFN:Last\r\n") + card("UID:last-vy3lnI\r\nFN:Wraps\r\n")
                                 + card("UID:foobar\r\nFN:Same Uid\r\n") + card("UID:foobar\r\nFN:Same Again\r\n"));
    ContactsStore store(m_registry, m_device);
    ASSERT_TRUE(store.LogOn());
    const QList<quint32> ids = idsOf(*store.DefaultContactsFolder());
    // Collisions step on from the earlier card's id, past 0 when they wrap.
    EXPECT_EQ(ids, (QList<quint32>{0xbf9cf968u, 1u, 0xffffffffu, 2u, 0xbf9cf969u, 0xbf9cf96au}));

    ContactsStore second(m_registry, m_device);
    ASSERT_TRUE(second.LogOn());
    EXPECT_EQ(idsOf(*second.DefaultContactsFolder()), ids);
    EXPECT_EQ(second.ItemByObjectId(2u), second.DefaultContactsFolder()->Item(4));
}

TEST(ContactsStoreIdentity, WithoutUidTheNameAndFirstEmailIdentify)
{
    // The id a card gets when it is the only one.
    auto idAlone = [](const char* body) -> quint32 {
        QTemporaryDir dir;
        EXPECT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Contacts")));
        EXPECT_TRUE(writeFile(dir.filePath(QStringLiteral("Contacts/one.vcf")), card(body)));
        Registry registry(dir.filePath(QStringLiteral("registry.reg")));
        const DevicePaths device(dir.path());
        ContactsStore store(registry, device);
        EXPECT_TRUE(store.LogOn());
        const ContactItem* item = store.DefaultContactsFolder()->Item(1);
        return item ? item->ObjectId() : 0;
    };
    const quint32 ada = idAlone("FN:Ada Lark\r\nEMAIL:ada@example.com\r\nTEL;TYPE=WORK:555-0100\r\n");
    ASSERT_NE(ada, 0u);
    // Other properties, and e-mails after the first, do not take part.
    EXPECT_EQ(idAlone("TEL;TYPE=WORK:555-0199\r\nFN: Ada Lark\r\nEMAIL:ada@example.com\r\nEMAIL;PREF=1:x@example.org\r\n"), ada);
    EXPECT_EQ(idAlone("N:Other;Name;;;\r\nFN:Ada Lark\r\nEMAIL:ada@example.com\r\n"), ada);
    EXPECT_NE(idAlone("FN:Ada Lark\r\nEMAIL:other@example.com\r\n"), ada);
    EXPECT_NE(idAlone("FN:Bea Lark\r\nEMAIL:ada@example.com\r\n"), ada);
    // Without FN the structured name stands in.
    const quint32 byN = idAlone("N:Lark;Ada;;;\r\nEMAIL:ada@example.com\r\n");
    EXPECT_NE(byN, ada);
    EXPECT_EQ(idAlone("N:Lark;Ada;;;\r\nEMAIL:ada@example.com\r\nNOTE:x\r\n"), byN);
    EXPECT_NE(idAlone("N:Lark;Bea;;;\r\nEMAIL:ada@example.com\r\n"), byN);
    // A UID outranks everything else.
    EXPECT_EQ(idAlone("UID:foobar\r\nFN:Ada Lark\r\nEMAIL:ada@example.com\r\n"), 0xbf9cf968u);
}

TEST_F(ContactsStoreTest, PropertiesAreFoundByTrimmedLabel)
{
    const QStringList& labels = ContactsStore::PropertyLabels();
    ASSERT_EQ(labels.size(), 31);
    EXPECT_EQ(labels[2], str("Middle Name "));
    EXPECT_EQ(labels[30], str("Notes"));
    EXPECT_EQ(ContactsStore::ProgId(), str("PocketOutlook.Application"));

    addBook(str("m.vcf"), card("N:Lark;Ada;Brynja;;\r\nEMAIL:ada@example.com\r\n"));
    ContactsStore store(m_registry, m_device);
    ASSERT_TRUE(store.LogOn());
    const ContactItem* ada = store.DefaultContactsFolder()->Item(1);
    ASSERT_TRUE(ada);
    EXPECT_EQ(ada->Property(labels[2]), str("Brynja"));
    EXPECT_EQ(ada->Property(str("Middle Name")), str("Brynja"));
    EXPECT_EQ(ada->Property(str("  Email\t")), str("ada@example.com"));
    EXPECT_EQ(ada->Property(str("Pager")), QString());
    EXPECT_EQ(ada->Property(str("No Such Label")), QString());
}

TEST(ContactItemValues, EachValueKeepsItsPlaceAndLabel)
{
    ContactValues values;
    values[ContactProp::LastName] = str("Lark");
    values[ContactProp::MiddleName] = str("Brynja");
    values[ContactProp::Notes] = str("last\r\nline");
    const ContactItem item(7, values);
    EXPECT_EQ(item.ObjectId(), 7u);
    for (int i = 0; i < ContactProp::Count; ++i) {
        EXPECT_EQ(item.Value(i), values[i]) << i;
        EXPECT_EQ(item.Property(ContactsStore::PropertyLabels()[i]), values[i]) << i;
    }
    EXPECT_EQ(item.Value(-1), QString());
    EXPECT_EQ(item.Value(ContactProp::Count), QString());
}
