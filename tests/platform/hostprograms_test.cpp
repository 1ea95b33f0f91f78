#include "platform/hostprograms.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void MakeProgram(const QString& folder, const char* name, const QByteArray& body = {})
{
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TEST(HostPrograms, TheFirstSenderFoundIsTaken)
{
    QTemporaryDir first;
    QTemporaryDir second;
    const QString path = first.path() + QLatin1Char(':') + second.path();
    EXPECT_EQ(HostSenderCommand(path), QString());

    MakeProgram(second.path(), "kdeconnect-cli");
    EXPECT_TRUE(HostSenderCommand(path).endsWith(QLatin1Char('"') + second.path() + QStringLiteral("/kdeconnect-cli\"")));

    MakeProgram(second.path(), "blueman-sendto");
    EXPECT_EQ(HostSenderCommand(path), second.path() + QStringLiteral("/blueman-sendto"));

    MakeProgram(first.path(), "bluetooth-sendto");
    EXPECT_EQ(HostSenderCommand(path), first.path() + QStringLiteral("/bluetooth-sendto"));
}

// The command as the shell runs it: split, with the file added as one more argument.
TEST(HostPrograms, KdeConnectSharesWithTheFirstReachableDevice)
{
    QTemporaryDir folder;
    const QString dir = folder.path() + QStringLiteral("/with \"quote\" and space");
    ASSERT_TRUE(QDir().mkpath(dir));
    // Lists the ids in the file "devices"; logs what it is asked to share.
    MakeProgram(dir, "kdeconnect-cli",
                "here=$(dirname \"$0\")\n"
                "if [ \"$1 $2\" = '--list-available --id-only' ]; then cat \"$here/devices\"; exit 0; fi\n"
                "printf '%s|' \"$@\" > \"$here/shared\"\n");
    const auto send = [&](const QByteArray& devices, int* exitCode) {
        QFile list(dir + QStringLiteral("/devices"));
        EXPECT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(devices);
        list.close();
        QStringList command = QProcess::splitCommand(HostSenderCommand(dir));
        QProcess process;
        process.start(command.takeFirst(), command << QStringLiteral("/tmp/Board $1.txt"));
        EXPECT_TRUE(process.waitForFinished());
        *exitCode = process.exitCode();
        return QString::fromLocal8Bit(process.readAllStandardError());
    };
    int exitCode = -1;
    EXPECT_EQ(send("", &exitCode), QStringLiteral("No paired device is reachable through KDE Connect.\n"));
    EXPECT_EQ(exitCode, 1);
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/shared")));

    EXPECT_EQ(send("a1b2\nc3d4\n", &exitCode), QString());
    EXPECT_EQ(exitCode, 0);
    QFile shared(dir + QStringLiteral("/shared"));
    ASSERT_TRUE(shared.open(QIODevice::ReadOnly));
    EXPECT_EQ(shared.readAll(), QByteArray("--share|/tmp/Board $1.txt|--device|a1b2|"));
}
