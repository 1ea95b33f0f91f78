#include "platform/devicepaths.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DevicePaths, DevicePathsMapBelowTheDeviceFolderIgnoringCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Windows")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Program Files/Quillon/Templates")));
    const DevicePaths device(dir.path());

    EXPECT_EQ(device.toHost(QStringLiteral("\\windows\\Quillon.htm")), dir.path() + QStringLiteral("/Windows/Quillon.htm"));
    EXPECT_EQ(device.toHost(QStringLiteral("\\PROGRAM FILES\\quillon\\templates\\Weekly.min")),
              dir.path() + QStringLiteral("/Program Files/Quillon/Templates/Weekly.min"));
    // Components that do not exist yet keep the case they were given.
    EXPECT_EQ(device.toHost(QStringLiteral("\\Program Files\\Quillon\\Temp\\Board.txt")),
              dir.path() + QStringLiteral("/Program Files/Quillon/Temp/Board.txt"));
    EXPECT_EQ(device.toHost(QStringLiteral("\\")), dir.path());
}

TEST(DevicePaths, DevicePathsCannotLeaveTheDeviceFolder)
{
    QTemporaryDir dir;
    const DevicePaths device(dir.path());
    EXPECT_EQ(device.toHost(QStringLiteral("\\..\\..\\etc\\passwd")), dir.path() + QStringLiteral("/etc/passwd"));
    EXPECT_EQ(device.toHost(QStringLiteral("\\Temp\\.\\..\\x")), dir.path() + QStringLiteral("/x"));
    EXPECT_EQ(device.toHost(QStringLiteral("\\a/../../b")), dir.path() + QStringLiteral("/a_.._.._b"));
}

TEST(DevicePaths, HostPathsAreUsedAsTheyAre)
{
    const DevicePaths device(QStringLiteral("/nowhere"));
    EXPECT_EQ(device.toHost(QStringLiteral("/home/ann/Board.min")), QStringLiteral("/home/ann/Board.min"));
    EXPECT_EQ(device.toHost(QStringLiteral("Board.min")), QStringLiteral("Board.min"));
    EXPECT_EQ(device.registryFile(), QStringLiteral("/nowhere/registry.reg"));
}

TEST(DevicePaths, DefaultFoldersFollowTheEnvironment)
{
    qputenv("QUILLON_DEVICE", "/tmp/some/device/");
    qputenv("QUILLON_DESKTOP", "/tmp/some/desktop");
    EXPECT_EQ(DevicePaths::defaultDeviceRoot(), QStringLiteral("/tmp/some/device"));
    EXPECT_EQ(DevicePaths::defaultDesktopRoot(), QStringLiteral("/tmp/some/desktop"));
    qunsetenv("QUILLON_DEVICE");
    qunsetenv("QUILLON_DESKTOP");
    EXPECT_TRUE(DevicePaths::defaultDeviceRoot().endsWith(QStringLiteral("/quillon/device")));
}

TEST(DevicePaths, FileNamePartTakesWhatFollowsEitherSeparator)
{
    EXPECT_EQ(fileNamePart(QStringLiteral("\\My Documents\\Board.min")), QStringLiteral("Board.min"));
    EXPECT_EQ(fileNamePart(QStringLiteral("/home/ann/Board.min")), QStringLiteral("Board.min"));
    EXPECT_EQ(fileNamePart(QStringLiteral("/home/ann\\odd/name.min")), QStringLiteral("name.min"));
    EXPECT_EQ(fileNamePart(QStringLiteral("Untitled")), QStringLiteral("Untitled"));
}

TEST(DevicePaths, ANormalisedPathLosesOnlyACharacterBeforeABackslash)
{
    EXPECT_EQ(normaliseFilePath(QStringLiteral("\\\\My Documents\\a.min")), QStringLiteral("\\My Documents\\a.min"));
    EXPECT_EQ(normaliseFilePath(QStringLiteral("x\\a.min")), QStringLiteral("\\a.min"));
    // Device paths, host paths and the shortest paths stay as they are.
    EXPECT_EQ(normaliseFilePath(QStringLiteral("\\My Documents\\a.min")), QStringLiteral("\\My Documents\\a.min"));
    EXPECT_EQ(normaliseFilePath(QStringLiteral("/tmp/a.min")), QStringLiteral("/tmp/a.min"));
    EXPECT_EQ(normaliseFilePath(QStringLiteral("\\")), QStringLiteral("\\"));
    EXPECT_EQ(normaliseFilePath(QString()), QString());
}
