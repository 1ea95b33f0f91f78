#include "platform/bytestream.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SafeFileSink, NothingReplacesTheDestinationUntilCommit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("target.bin"));
    ASSERT_TRUE(testsupport::writeFile(path, "old"));
    {
        SafeFileSink sink;
        ASSERT_TRUE(sink.open(path, path, nullptr));
        sink.write("new content", 11);
        EXPECT_EQ(testsupport::readFile(path), QByteArray("old"));
    } // abandoned
    EXPECT_EQ(testsupport::readFile(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("target.bin")});

    SafeFileSink sink;
    ASSERT_TRUE(sink.open(path, path, nullptr));
    sink.write("new", 3);
    sink.commit();
    EXPECT_EQ(testsupport::readFile(path), QByteArray("new"));
}

TEST(FileSource, ReadsToTheEndAndCountsWhatIsLeft)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.bin"));
    ASSERT_TRUE(testsupport::writeFile(path, "0123456789"));
    FileSource source;
    ASSERT_TRUE(source.open(path, path, nullptr));
    char buffer[16];
    EXPECT_EQ(source.read(buffer, 4), 4);
    EXPECT_EQ(source.bytesLeft(), 6);
    EXPECT_EQ(source.read(buffer, 16), 6);
    EXPECT_EQ(QByteArray(buffer, 6), QByteArray("456789"));
    EXPECT_EQ(source.read(buffer, 16), 0);
    EXPECT_EQ(source.bytesLeft(), 0);
}
