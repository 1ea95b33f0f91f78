#include "platform/registry.h"

#include "platform/filelock.h"

#include "testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using testsupport::fromHex;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

constexpr auto User = RegistryHive::CurrentUser;
const QString Options = QStringLiteral("software\\Corvexa\\Quillon\\Options");

QString str(const char* text)
{
    return QString::fromUtf8(text);
}

bool setModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // A folder that does not exist yet: the first change has to make it.
        m_path = m_dir.filePath(QStringLiteral("device/registry.reg"));
    }

    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

TEST(RegistryValueTest, StringsAreUtf16LittleEndianWithOneTerminatingZero)
{
    const RegistryValue abc = RegistryValue::fromString(str("abc"));
    EXPECT_EQ(abc.type, RegSz);
    EXPECT_EQ(abc.data, fromHex("61 00 62 00 63 00 00 00"));
    EXPECT_EQ(abc.toString(), str("abc"));
    EXPECT_EQ(RegistryValue::fromString(QString::fromUtf8("\xE2\x82\xAC")).data, fromHex("ac 20 00 00"));

    // Reading stops at the first zero unit or the end; a half unit is ignored.
    EXPECT_EQ((RegistryValue{RegSz, fromHex("61 00 00 00 62 00 00 00")}).toString(), str("a"));
    EXPECT_EQ((RegistryValue{RegSz, fromHex("61 00 62 00")}).toString(), str("ab"));
    EXPECT_EQ((RegistryValue{RegSz, fromHex("61 00 62")}).toString(), str("a"));
    EXPECT_EQ((RegistryValue{RegSz, fromHex("00 01 00 d8")}).toString(), QString(QChar(0x0100)) + QChar(0xd800));
    EXPECT_EQ((RegistryValue{RegBinary, QByteArray()}).toString(), QString());
}

TEST(RegistryValueTest, DwordIsFourBytesLittleEndian)
{
    const RegistryValue number = RegistryValue::fromDword(0x01020304);
    EXPECT_EQ(number.type, RegDword);
    EXPECT_EQ(number.data, fromHex("04 03 02 01"));
    EXPECT_EQ(RegistryValue::fromDword(0xffffffff).data, fromHex("ff ff ff ff"));
}

TEST_F(RegistryTest, MissingFileIsAnEmptyRegistryUntilTheFirstChange)
{
    Registry reg(m_path);
    EXPECT_EQ(reg.filePath(), m_path);
    EXPECT_FALSE(reg.keyExists(User, str("software")));
    EXPECT_TRUE(reg.subKeys(User, QString()).isEmpty());
    EXPECT_FALSE(reg.value(User, str("software"), QString()).has_value());
    EXPECT_FALSE(QFileInfo::exists(m_path));

    ASSERT_TRUE(reg.createKey(User, str("software")));
    EXPECT_EQ(readFile(m_path), QByteArray("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\software]\n"));
    EXPECT_FALSE(QFileInfo::exists(m_path + str(".lock")));

    // Removing the file from outside empties the registry again.
    ASSERT_TRUE(QFile::remove(m_path));
    EXPECT_FALSE(reg.keyExists(User, str("software")));
}

TEST_F(RegistryTest, KeysAreCreatedWithTheirParentsAndDeletedWithTheirSubtree)
{
    Registry reg(m_path);
    ASSERT_TRUE(reg.createKey(User, Options));
    EXPECT_TRUE(reg.keyExists(User, str("software")));
    EXPECT_TRUE(reg.keyExists(User, str("software\\Corvexa")));
    EXPECT_TRUE(reg.keyExists(User, str("software\\Corvexa\\Quillon")));
    EXPECT_TRUE(reg.keyExists(User, Options));
    EXPECT_TRUE(reg.createKey(User, Options)); // already there is fine
    ASSERT_TRUE(reg.createKey(User, str("software\\Other")));
    ASSERT_TRUE(reg.setValue(User, Options, str("Deep"), RegistryValue::fromDword(1)));

    ASSERT_TRUE(reg.deleteKey(User, str("software\\Corvexa")));
    EXPECT_FALSE(reg.keyExists(User, str("software\\Corvexa")));
    EXPECT_FALSE(reg.keyExists(User, Options));
    EXPECT_FALSE(reg.value(User, Options, str("Deep")).has_value());
    EXPECT_EQ(reg.subKeys(User, str("software")), QStringList{str("Other")});
    // Recreating the key does not bring the old subtree back.
    ASSERT_TRUE(reg.createKey(User, str("software\\Corvexa")));
    EXPECT_TRUE(reg.subKeys(User, str("software\\Corvexa")).isEmpty());

    EXPECT_FALSE(reg.deleteKey(User, str("software\\Missing")));
    EXPECT_FALSE(reg.deleteKey(User, str("nowhere\\at\\all")));
    EXPECT_FALSE(reg.deleteKey(User, QString()));
    EXPECT_TRUE(reg.keyExists(User, str("software")));
}

TEST_F(RegistryTest, KeyPathsIgnoreOuterBackslashesAndRejectMalformedOnes)
{
    Registry reg(m_path);
    ASSERT_TRUE(reg.createKey(User, str("\\outer\\inner\\")));
    EXPECT_TRUE(reg.keyExists(User, str("outer\\inner")));
    EXPECT_TRUE(reg.keyExists(User, str("\\outer\\")));
    ASSERT_TRUE(reg.setValue(User, str("\\outer\\inner"), str("v"), RegistryValue::fromDword(1)));
    EXPECT_TRUE(reg.value(User, str("outer\\inner\\"), str("v")).has_value());

    for (const QString& bad : {str("a\\\\b"), str("a\tb"), str("a\\b\nc"), QString(QChar(0xdc00))}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(reg.createKey(User, bad));
        EXPECT_FALSE(reg.keyExists(User, bad));
        EXPECT_FALSE(reg.setValue(User, bad, str("v"), RegistryValue::fromDword(1)));
    }
    EXPECT_EQ(reg.subKeys(User, QString()), QStringList{str("outer")});
}

TEST_F(RegistryTest, NamesCompareCaseInsensitivelyAndKeepTheirFirstCase)
{
    Registry reg(m_path);
    ASSERT_TRUE(reg.createKey(User, str("Software\\Corvexa")));
    ASSERT_TRUE(reg.createKey(User, str("SOFTWARE\\corvexa\\Quillon")));
    EXPECT_EQ(reg.subKeys(User, QString()), QStringList{str("Software")});
    EXPECT_EQ(reg.subKeys(User, str("software")), QStringList{str("Corvexa")});
    EXPECT_TRUE(reg.keyExists(User, str("sOfTwArE\\CORVEXA\\quillon")));

    ASSERT_TRUE(reg.setValue(User, str("software\\corvexa"), str("FilePath"), RegistryValue::fromString(str("one"))));
    ASSERT_TRUE(reg.setValue(User, str("SOFTWARE\\CORVEXA"), str("FILEPATH"), RegistryValue::fromString(str("two"))));
    EXPECT_EQ(reg.valueNames(User, str("Software\\Corvexa")), QStringList{str("FilePath")});
    EXPECT_EQ(reg.value(User, str("Software\\Corvexa"), str("filepath")), RegistryValue::fromString(str("two")));

    // Sub keys in case-insensitive order, values in creation order.
    for (const char* name : {"gamma", "Beta", "alpha"})
        ASSERT_TRUE(reg.createKey(User, str("order\\") + str(name)));
    EXPECT_EQ(reg.subKeys(User, str("order")), (QStringList{str("alpha"), str("Beta"), str("gamma")}));
    for (const char* name : {"zulu", "Alpha", "mike"})
        ASSERT_TRUE(reg.setValue(User, str("order"), str(name), RegistryValue::fromDword(0)));
    EXPECT_EQ(reg.valueNames(User, str("order")), (QStringList{str("zulu"), str("Alpha"), str("mike")}));
    ASSERT_TRUE(reg.deleteValue(User, str("ORDER"), str("ALPHA")));
    EXPECT_EQ(reg.valueNames(User, str("order")), (QStringList{str("zulu"), str("mike")}));
}

TEST_F(RegistryTest, HivesAreSeparate)
{
    Registry reg(m_path);
    ASSERT_TRUE(reg.createKey(User, str("shared")));
    ASSERT_TRUE(reg.setValue(User, str("shared"), str("v"), RegistryValue::fromDword(1)));
    EXPECT_FALSE(reg.keyExists(RegistryHive::LocalMachine, str("shared")));
    EXPECT_FALSE(reg.keyExists(RegistryHive::ClassesRoot, str("shared")));
    ASSERT_TRUE(reg.createKey(RegistryHive::LocalMachine, str("shared")));
    EXPECT_FALSE(reg.value(RegistryHive::LocalMachine, str("shared"), str("v")).has_value());
    ASSERT_TRUE(reg.deleteKey(RegistryHive::LocalMachine, str("shared")));
    EXPECT_TRUE(reg.value(User, str("shared"), str("v")).has_value());
}

TEST_F(RegistryTest, ValuesNeedAnExistingKeyAndAValidName)
{
    Registry reg(m_path);
    EXPECT_FALSE(reg.setValue(User, str("missing"), str("v"), RegistryValue::fromDword(1)));
    EXPECT_FALSE(reg.keyExists(User, str("missing")));
    EXPECT_FALSE(QFileInfo::exists(m_path));

    ASSERT_TRUE(reg.createKey(User, str("k")));
    for (const QString& bad : {str("tab\there"), str("new\nline"), QString(QChar(0)), QString(QChar(0xd800))})
        EXPECT_FALSE(reg.setValue(User, str("k"), bad, RegistryValue::fromDword(1)));
    EXPECT_TRUE(reg.valueNames(User, str("k")).isEmpty());
    // Values live on keys, not on the hive itself.
    EXPECT_FALSE(reg.setValue(User, QString(), str("v"), RegistryValue::fromDword(1)));

    // The empty name is the key's default value.
    ASSERT_TRUE(reg.setValue(User, str("k"), QString(), RegistryValue::fromString(str("default"))));
    EXPECT_EQ(reg.value(User, str("k"), QString()), RegistryValue::fromString(str("default")));
    EXPECT_EQ(reg.valueNames(User, str("k")), QStringList{QString()});

    EXPECT_TRUE(reg.deleteValue(User, str("k"), QString()));
    EXPECT_FALSE(reg.deleteValue(User, str("k"), QString()));
    EXPECT_FALSE(reg.deleteValue(User, str("missing"), QString()));
    EXPECT_FALSE(reg.value(User, str("k"), QString()).has_value());
}

TEST_F(RegistryTest, AValueCanBringItsKeyAndParentsWithIt)
{
    Registry reg(m_path);
    // A bad name or key creates nothing.
    EXPECT_FALSE(reg.setValueCreatingKey(User, str("a\\b"), str("new\nline"), RegistryValue::fromDword(1)));
    EXPECT_FALSE(reg.setValueCreatingKey(User, QString(), str("v"), RegistryValue::fromDword(1)));
    EXPECT_FALSE(reg.keyExists(User, str("a")));
    EXPECT_FALSE(QFileInfo::exists(m_path));

    ASSERT_TRUE(reg.setValueCreatingKey(User, str("a\\b"), QString(), RegistryValue::fromString(str("x"))));
    EXPECT_TRUE(reg.keyExists(User, str("a")));
    EXPECT_EQ(Registry(m_path).value(User, str("A\\B"), QString()), RegistryValue::fromString(str("x")));
    // On an existing key it replaces the value.
    ASSERT_TRUE(reg.setValueCreatingKey(User, str("a\\b"), QString(), RegistryValue::fromString(str("y"))));
    EXPECT_EQ(Registry(m_path).value(User, str("a\\b"), QString()), RegistryValue::fromString(str("y")));
}

TEST_F(RegistryTest, ValuesSurviveANewRegistryObject)
{
    const RegistryValue blob{RegBinary, fromHex("00 01 fe ff")};
    const RegistryValue odd{RegSz, fromHex("61 00 62")};
    const RegistryValue multi{RegMultiSz, fromHex("61 00 00 00 62 00 00 00 00 00")};
    {
        Registry reg(m_path);
        ASSERT_TRUE(reg.createKey(User, Options));
        ASSERT_TRUE(reg.setValue(User, Options, str("Name"), RegistryValue::fromString(str("abc"))));
        ASSERT_TRUE(reg.setValue(User, Options, str("Path"), RegistryValue::fromString(str("C:\\a \"b\""))));
        ASSERT_TRUE(reg.setValue(User, Options, str("Count"), RegistryValue::fromDword(0x80000001)));
        ASSERT_TRUE(reg.setValue(User, Options, str("Blob"), blob));
        ASSERT_TRUE(reg.setValue(User, Options, str("Odd"), odd));
        ASSERT_TRUE(reg.setValue(User, Options, str("Multi"), multi));
        ASSERT_TRUE(reg.setValue(User, Options, str("Gone"), blob));
        ASSERT_TRUE(reg.deleteValue(User, Options, str("Gone")));
        ASSERT_TRUE(reg.createKey(RegistryHive::ClassesRoot, str(".qmn")));
    }
    Registry reg(m_path);
    const std::optional<RegistryValue> name = reg.value(User, Options, str("name"));
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(name->type, RegSz);
    EXPECT_EQ(name->data, fromHex("61 00 62 00 63 00 00 00"));
    EXPECT_EQ(reg.value(User, Options, str("Path")), RegistryValue::fromString(str("C:\\a \"b\"")));
    EXPECT_EQ(reg.value(User, Options, str("Count")), RegistryValue::fromDword(0x80000001));
    EXPECT_EQ(reg.value(User, Options, str("Blob")), blob);
    EXPECT_EQ(reg.value(User, Options, str("Odd")), odd);
    EXPECT_EQ(reg.value(User, Options, str("Multi")), multi);
    EXPECT_EQ(reg.valueNames(User, Options), (QStringList{str("Name"), str("Path"), str("Count"), str("Blob"), str("Odd"), str("Multi")}));
    EXPECT_TRUE(reg.keyExists(RegistryHive::ClassesRoot, str(".QMN")));
}

TEST_F(RegistryTest, AnotherInstanceSeesEveryChangeAtOnce)
{
    Registry writer(m_path);
    Registry reader(m_path);
    ASSERT_TRUE(writer.createKey(User, str("k")));
    ASSERT_TRUE(writer.setValue(User, str("k"), str("v"), RegistryValue::fromDword(1)));
    EXPECT_EQ(reader.value(User, str("k"), str("v")), RegistryValue::fromDword(1));

    // A replacement of the same size within the same clock tick still counts.
    const QDateTime tick(QDate(2024, 6, 1), QTime(12, 0));
    ASSERT_TRUE(setModified(m_path, tick));
    EXPECT_EQ(reader.value(User, str("k"), str("v")), RegistryValue::fromDword(1));
    ASSERT_TRUE(writer.setValue(User, str("k"), str("v"), RegistryValue::fromDword(2)));
    ASSERT_TRUE(setModified(m_path, tick));
    EXPECT_EQ(reader.value(User, str("k"), str("v")), RegistryValue::fromDword(2));

    ASSERT_TRUE(writer.deleteValue(User, str("k"), str("v")));
    EXPECT_TRUE(reader.valueNames(User, str("k")).isEmpty());
    ASSERT_TRUE(writer.deleteKey(User, str("k")));
    EXPECT_FALSE(reader.keyExists(User, str("k")));

    // A file written by some other program.
    ASSERT_TRUE(writeFile(m_path, "[HKEY_LOCAL_MACHINE\\Outside]\n\"v\"=dword:00000007\n"));
    EXPECT_EQ(reader.value(RegistryHive::LocalMachine, str("outside"), str("v")), RegistryValue::fromDword(7));
}

TEST_F(RegistryTest, TwoInstancesWritingToTheSameFileKeepEachOthersValues)
{
    Registry first(m_path);
    Registry second(m_path);
    ASSERT_TRUE(first.createKey(User, str("k")));
    ASSERT_TRUE(second.keyExists(User, str("k"))); // second now holds the file as it was

    ASSERT_TRUE(first.setValue(User, str("k"), str("fromFirst"), RegistryValue::fromDword(1)));
    ASSERT_TRUE(second.setValue(User, str("k"), str("fromSecond"), RegistryValue::fromDword(2)));
    ASSERT_TRUE(first.createKey(User, str("k\\child")));
    ASSERT_TRUE(second.deleteValue(User, str("k"), str("fromFirst")));

    Registry third(m_path);
    for (const Registry* reg : {&first, &second, &third}) {
        EXPECT_EQ(reg->valueNames(User, str("k")), QStringList{str("fromSecond")});
        EXPECT_EQ(reg->subKeys(User, str("k")), QStringList{str("child")});
    }
}

TEST_F(RegistryTest, DamagedFileLoadsWhatItCanAndTheNextChangeWritesACleanFile)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_path).absolutePath()));
    static const char damaged[] =
        "\xEF\xBB\xBF\"Stray\"=\"x\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Good]\r\n"
        "\"Name\"=\"kept\"\r\n"
        "\"Broken\"=hex:zz\r\n"
        "\x00\x01\x02\xff garbage\r\n"
        "\"Number\"=dword:0000000a\r\n"
        "[HKEY_SOMEWHERE\\Else]\r\n"
        "\"Lost\"=\"x\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Good\r\n"
        "\"AlsoLost\"=\"x\"\r\n"
        "[HKEY_CURRENT_USER\\software\\good]\r\n"
        "\"NAME\"=\"last wins\"\r\n"
        "\"Cut\"=hex:01,\\";
    ASSERT_TRUE(writeFile(m_path, QByteArray(damaged, sizeof damaged - 1)));

    Registry reg(m_path);
    EXPECT_EQ(reg.subKeys(User, QString()), QStringList{str("Software")});
    EXPECT_EQ(reg.valueNames(User, str("Software\\Good")), (QStringList{str("Name"), str("Number")}));
    EXPECT_EQ(reg.value(User, str("Software\\Good"), str("Name")), RegistryValue::fromString(str("last wins")));

    ASSERT_TRUE(reg.setValue(User, str("Software\\Good"), str("Added"), RegistryValue::fromDword(1)));
    EXPECT_EQ(readFile(m_path),
        QByteArray("Windows Registry Editor Version 5.00\n"
                   "\n"
                   "[HKEY_CURRENT_USER\\Software]\n"
                   "\n"
                   "[HKEY_CURRENT_USER\\Software\\Good]\n"
                   "\"Name\"=\"last wins\"\n"
                   "\"Number\"=dword:0000000a\n"
                   "\"Added\"=dword:00000001\n"));
}

TEST_F(RegistryTest, ChangesThatChangeNothingLeaveTheFileAlone)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_path).absolutePath()));
    // Damaged on purpose: any rewrite would show as a clean file.
    const QByteArray original = "[HKEY_CURRENT_USER\\k]\r\n\"v\"=dword:00000001\r\njunk\r\n";
    ASSERT_TRUE(writeFile(m_path, original));

    Registry reg(m_path);
    EXPECT_TRUE(reg.createKey(User, str("K")));
    EXPECT_TRUE(reg.setValue(User, str("k"), str("V"), RegistryValue::fromDword(1)));
    EXPECT_FALSE(reg.deleteValue(User, str("k"), str("missing")));
    EXPECT_FALSE(reg.deleteKey(User, str("k\\missing")));
    EXPECT_FALSE(reg.setValue(User, str("missing"), str("v"), RegistryValue::fromDword(1)));
    EXPECT_TRUE(reg.setValueCreatingKey(User, str("K"), str("v"), RegistryValue::fromDword(1)));
    EXPECT_EQ(readFile(m_path), original);

    ASSERT_TRUE(reg.setValue(User, str("k"), str("v"), RegistryValue::fromDword(2)));
    EXPECT_NE(readFile(m_path), original);
}

TEST_F(RegistryTest, ChangeInAReadOnlyFolderFails)
{
    const QString folder = QFileInfo(m_path).absolutePath();
    Registry reg(m_path);
    ASSERT_TRUE(reg.createKey(User, str("k")));
    ASSERT_TRUE(reg.setValue(User, str("k"), str("v"), RegistryValue::fromDword(1)));
    const QByteArray before = readFile(m_path);

    testsupport::openToOthers(m_dir.path());
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                  | QFileDevice::ReadOther | QFileDevice::ExeOther));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
    EXPECT_TRUE(testsupport::runUnprivileged([&] {
        Registry reader(m_path);
        return !reader.setValue(User, str("k"), str("v"), RegistryValue::fromDword(2))
            && !reader.createKey(User, str("other"))
            && !reader.deleteKey(User, str("k"))
            // What is read is still the file's content.
            && reader.value(User, str("k"), str("v")) == RegistryValue::fromDword(1)
            && !reader.keyExists(User, str("other"));
    }));
    EXPECT_EQ(readFile(m_path), before);
}

TEST_F(RegistryTest, FailedWriteLeavesNothingBehindInMemoryAndIsReported)
{
    // The file is a link into a folder that does not exist: the lock can be
    // taken, but the file cannot be written. Works as root too.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_path).absolutePath()));
    ASSERT_TRUE(QFile::link(m_dir.filePath(str("nowhere/registry.reg")), m_path));

    Registry reg(m_path);
    QStringList causes;
    reg.setStoreFailureHandler([&](const QString& cause) { causes.append(cause); });
    EXPECT_FALSE(reg.keyExists(User, str("k")));
    EXPECT_FALSE(reg.createKey(User, str("k")));
    EXPECT_FALSE(reg.keyExists(User, str("k")));
    EXPECT_TRUE(reg.subKeys(User, QString()).isEmpty());
    ASSERT_EQ(causes.size(), 1);
    EXPECT_FALSE(causes[0].isEmpty());
    // Refusals that store nothing are no failures to store.
    EXPECT_FALSE(reg.deleteKey(User, str("k")));
    EXPECT_EQ(causes.size(), 1);
}

TEST_F(RegistryTest, ADamagedFileIsKeptBesideBeforeTheFirstRewrite)
{
    const QString damaged = m_path + str(".damaged");
    const QByteArray clean("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\k]\n\"a\"=dword:00000001\n");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_path).absolutePath()));
    ASSERT_TRUE(writeFile(m_path, clean));
    Registry reg(m_path);
    ASSERT_TRUE(reg.setValue(User, str("k"), str("b"), RegistryValue::fromDword(2)));
    EXPECT_FALSE(QFileInfo::exists(damaged)) << "a readable file is no damaged one";

    for (const QByteArray& harm : {QByteArray("\"c\"=dword:zz\n"), QByteArray("[HKEY_NOWHERE\\x]\n"),
                                   QByteArray("stray words\n"), QByteArray("\"c\"=\"\xff\xfe\"\n")}) {
        const QByteArray before = clean + harm;
        ASSERT_TRUE(writeFile(m_path, before));
        ASSERT_TRUE(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner)); // a new stamp even within one tick
        Registry reader(m_path);
        EXPECT_EQ(reader.value(User, str("k"), str("a")), RegistryValue::fromDword(1)) << harm.constData();
        ASSERT_TRUE(reader.setValue(User, str("k"), str("b"), RegistryValue::fromDword(3)));
        EXPECT_EQ(readFile(damaged), before) << harm.constData();
        // The rewrite is clean: the next one keeps the copy as it is.
        ASSERT_TRUE(QFile::remove(damaged));
        ASSERT_TRUE(reader.setValue(User, str("k"), str("b"), RegistryValue::fromDword(4)));
        EXPECT_FALSE(QFileInfo::exists(damaged)) << harm.constData();
    }
}

TEST_F(RegistryTest, ALockLeftByAProcessThatEndedNeverStallsAChange)
{
    // Whatever is in the lock file, only a live holder counts; the folder form
    // is what an unrelated program could leave.
    const QString lock = m_path + str(".lock");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(m_path).absolutePath()));
    Registry reg(m_path);
    int i = 0;
    for (const QByteArray& leftover : {QByteArray(), QByteArray("\x01garbage"), QByteArray("4242\nquillon\nanother-host\n")}) {
        ASSERT_TRUE(writeFile(lock, leftover));
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(reg.setValueCreatingKey(User, str("k"), str("v"), RegistryValue::fromDword(quint32(++i))));
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_FALSE(QFileInfo::exists(lock));
    }
    ASSERT_TRUE(QDir().mkdir(lock));
    EXPECT_TRUE(reg.setValueCreatingKey(User, str("k"), str("v"), RegistryValue::fromDword(9)));

    // A live holder is waited for.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileLock held(lock);
        const char locked = held.tryLock(1000) ? 1 : 0;
        (void)!::write(ready[1], &locked, 1);
        ::usleep(300 * 1000);
        ::_exit(0);
    }
    char locked = 0;
    ASSERT_EQ(::read(ready[0], &locked, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(locked, 1);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(reg.setValue(User, str("k"), str("v"), RegistryValue::fromDword(10)));
    EXPECT_GE(clock.elapsed(), 100);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(RegistryProcessTest, ConcurrentProcessesKeepEachOthersValues)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(str("registry.reg"));
    {
        Registry setup(path);
        ASSERT_TRUE(setup.createKey(User, str("Shared")));
    }
    constexpr int count = 25;
    const auto writeValues = [&](const QString& prefix) {
        Registry reg(path);
        bool allStored = true;
        for (int i = 0; i < count; ++i)
            allStored = reg.setValue(User, str("Shared"), prefix + QString::number(i), RegistryValue::fromDword(quint32(i))) && allStored;
        return allStored;
    };

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(writeValues(str("child")) ? 0 : 1);
    const bool parentStored = writeValues(str("parent"));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(parentStored);

    Registry check(path);
    EXPECT_EQ(check.valueNames(User, str("Shared")).size(), 2 * count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(check.value(User, str("Shared"), str("child") + QString::number(i)), RegistryValue::fromDword(quint32(i)));
        EXPECT_EQ(check.value(User, str("Shared"), str("parent") + QString::number(i)), RegistryValue::fromDword(quint32(i)));
    }
}
