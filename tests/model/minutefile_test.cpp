// Reading and writing minute files on disk, and what the user is told when
// that fails.

#include "model/minutefile.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

NodeList sampleList(int count, int textLength)
{
    NodeList list;
    for (int i = 0; i < count; ++i)
        list.append(std::make_unique<CTreeNode>(QStringLiteral("Item %1").arg(i), QString(textLength, QLatin1Char('t')), 1, 1));
    return list;
}

MinuteFileResult readFile(const QString& path, NodeList& list)
{
    MinuteReader reader;
    MinuteFileResult result = reader.Open(path, path);
    if (!result.ok())
        return result;
    return reader.ReadInto(list);
}

using testsupport::FileSizeLimit;

} // namespace

TEST(MinuteFile, SavedMinuteReadsBackTheSame)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Board.min"));
    const NodeList list = sampleList(3, 10);
    ASSERT_TRUE(WriteMinuteFile(path, path, list).ok());

    NodeList loaded;
    ASSERT_TRUE(readFile(path, loaded).ok());
    ASSERT_EQ(loaded.size(), 3);
    EXPECT_EQ(loaded.at(2)->GetTitle(), QStringLiteral("Item 2"));
    EXPECT_EQ(loaded.at(2)->GetText(), QString(10, QLatin1Char('t')));
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Board.min")});
}

TEST(MinuteFile, ZeroByteFileIsAnEmptyMinute)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.min"));
    ASSERT_TRUE(testsupport::writeFile(path, QByteArray()));
    NodeList loaded;
    EXPECT_TRUE(readFile(path, loaded).ok());
    EXPECT_TRUE(loaded.isEmpty());
}

TEST(MinuteFile, FilesThatCannotBeOpenedNameThePath)
{
    QTemporaryDir dir;
    NodeList untouched = sampleList(1, 1);
    MinuteReader reader;

    const QString missing = dir.filePath(QStringLiteral("missing.min"));
    MinuteFileResult result = reader.Open(missing, QStringLiteral("\\My Documents\\missing.min"));
    EXPECT_EQ(result.status, MinuteFileResult::FileFailed);
    EXPECT_EQ(result.message(), QStringLiteral("\\My Documents\\missing.min was not found."));

    result = reader.Open(dir.filePath(QStringLiteral("no/such/folder/x.min")), QStringLiteral("x.min"));
    EXPECT_EQ(result.message(), QStringLiteral("x.min was not found."));

    result = reader.Open(dir.path(), dir.path());
    EXPECT_EQ(result.message(), QStringLiteral("Access to %1 was denied.").arg(dir.path()));

    // A FIFO would block a plain open; it is refused at once instead.
    const QString fifo = dir.filePath(QStringLiteral("pipe.min"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(reader.Open(fifo, fifo).message(), QStringLiteral("Access to %1 was denied.").arg(fifo));

    EXPECT_EQ(untouched.size(), 1);
}

TEST(MinuteFile, UnreadableFileIsAccessDenied)
{
    QTemporaryDir dir;
    testsupport::openToOthers(dir.path());
    const QString path = dir.filePath(QStringLiteral("locked.min"));
    ASSERT_TRUE(testsupport::writeFile(path, QByteArray(2, '\0')));
    QFile::setPermissions(path, QFileDevice::Permissions());
    EXPECT_TRUE(testsupport::runUnprivileged([&] {
        MinuteReader reader;
        return reader.Open(path, path).message() == QStringLiteral("Access to %1 was denied.").arg(path);
    }));
}

TEST(MinuteFile, DamagedFileEmptiesTheList)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.min"));
    ASSERT_TRUE(testsupport::writeFile(path, testsupport::fromHex("05 00 FF FF 01 00")));
    NodeList list = sampleList(2, 1);
    MinuteReader reader;
    ASSERT_TRUE(reader.Open(path, path).ok());
    EXPECT_EQ(reader.ReadInto(list).message(), QStringLiteral("Unexpected file format."));
    EXPECT_TRUE(list.isEmpty());
}

TEST(MinuteFile, FailedSaveKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Board.min"));
    ASSERT_TRUE(WriteMinuteFile(path, path, sampleList(2, 4)).ok());
    const QByteArray before = testsupport::readFile(path);

    MinuteFileResult result;
    {
        FileSizeLimit limit(4096);
        result = WriteMinuteFile(path, path, sampleList(50, 1000));
    }
    EXPECT_EQ(result.status, MinuteFileResult::FileFailed);
    EXPECT_EQ(result.message(), QStringLiteral("Disk full while accessing %1.").arg(path));
    EXPECT_EQ(testsupport::readFile(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Board.min")});
}

TEST(MinuteFile, SaveIntoAMissingFolderIsNotFound)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone/Board.min"));
    EXPECT_EQ(WriteMinuteFile(path, path, sampleList(1, 1)).message(),
              QStringLiteral("%1 was not found.").arg(path));
    EXPECT_EQ(WriteMinuteFile(dir.path(), QString(), sampleList(1, 1)).message(),
              QStringLiteral("Access to an unnamed file was denied."));
}

TEST(MinuteFile, SaveIntoAReadOnlyFolderIsAccessDenied)
{
    QTemporaryDir dir;
    testsupport::openToOthers(dir.path());
    const QString folder = dir.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const QString path = folder + QStringLiteral("/Board.min");
    EXPECT_TRUE(testsupport::runUnprivileged([&] {
        return WriteMinuteFile(path, path, sampleList(1, 1)).message() == QStringLiteral("Access to %1 was denied.").arg(path);
    }));
    EXPECT_FALSE(QFile::exists(path));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Where links are refused (the templates folder), one is neither read nor
// written through, not even in place when the folder takes no new files.
TEST(MinuteFile, ARefusedLinkIsNeitherReadNorWrittenThrough)
{
    QTemporaryDir dir;
    testsupport::openToOthers(dir.path());
    const QString outside = dir.filePath(QStringLiteral("outside.min"));
    ASSERT_TRUE(WriteMinuteFile(outside, outside, sampleList(1, 1)).ok());
    QFile::setPermissions(outside, QFile::permissions(outside) | QFileDevice::WriteOther);
    const QByteArray before = testsupport::readFile(outside);
    const QString folder = dir.filePath(QStringLiteral("Templates"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString link = folder + QStringLiteral("/Evil.min");
    ASSERT_TRUE(QFile::link(outside, link));
    const QString denied = QStringLiteral("Access to %1 was denied.").arg(link);

    MinuteReader reader;
    EXPECT_EQ(reader.Open(link, link, SymLinks::Refuse).message(), denied);
    EXPECT_EQ(WriteMinuteFile(link, link, sampleList(2, 2), SymLinks::Refuse).message(), denied);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther);
    EXPECT_TRUE(testsupport::runUnprivileged(
        [&] { return WriteMinuteFile(link, link, sampleList(2, 2), SymLinks::Refuse).message() == denied; }));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(testsupport::readFile(outside), before);

    // Elsewhere a link still stands for the file it names.
    EXPECT_TRUE(WriteMinuteFile(link, link, sampleList(2, 2)).ok());
    EXPECT_NE(testsupport::readFile(outside), before);
}

TEST(MinuteFile, ASaveKeepsTheOwnerGroupAndModeOfTheFileItReplaces)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Board.min"));
    ASSERT_TRUE(WriteMinuteFile(path, path, sampleList(1, 1)).ok());
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const std::optional<testsupport::Owner> owner = testsupport::handToAnotherOwner(path);
    if (!owner)
        GTEST_SKIP() << "neither root nor in a second group: no other owner to keep";
    ASSERT_TRUE(WriteMinuteFile(path, path, sampleList(2, 1)).ok());
    NodeList loaded;
    ASSERT_TRUE(readFile(path, loaded).ok());
    EXPECT_EQ(loaded.size(), 2); // replaced, not left as it was
    EXPECT_EQ(testsupport::ownerOf(path), *owner);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}
