#include "platform/hostprograms.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void MakeProgram(const QString& folder, const char* name)
{
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
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
    EXPECT_EQ(HostSenderCommand(path), second.path() + QStringLiteral("/kdeconnect-cli --share"));

    MakeProgram(second.path(), "blueman-sendto");
    EXPECT_EQ(HostSenderCommand(path), second.path() + QStringLiteral("/blueman-sendto"));

    MakeProgram(first.path(), "bluetooth-sendto");
    EXPECT_EQ(HostSenderCommand(path), first.path() + QStringLiteral("/bluetooth-sendto"));
}
