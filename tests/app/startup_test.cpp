// The editor's start-up as the shell sees it: exit status and a missing display.

#include "app/quillonapp.h"
#include "framework/scripteduiservice.h"
#include "platform/inputpanel.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(StartupTest, AMinuteThatCannotBeOpenedEndsInFailureAndASecondInstanceDoesNot)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("device"));
    const QStringList arguments{QStringLiteral("quillon"), dir.filePath(QStringLiteral("missing.min"))};
    ScriptedUiService ui;
    TestInputPanel panel;
    CQuillonApp first(device, &ui, &panel);
    EXPECT_FALSE(first.InitInstance(arguments));
    EXPECT_EQ(ui.messageTexts(), QStringList{arguments[1] + QStringLiteral(" was not found.")});
    EXPECT_EQ(first.StartupExitCode(), 1);

    // The first still holds the device: the second hands over and ends normally.
    ScriptedUiService otherUi;
    CQuillonApp second(device, &otherUi, &panel);
    EXPECT_FALSE(second.InitInstance(arguments));
    EXPECT_TRUE(otherUi.messages.empty());
    EXPECT_EQ(second.StartupExitCode(), 0);
}

TEST(StartupTest, WithoutADisplayTheEditorSaysSoInOneLine)
{
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("QUILLON_DEVICE"), dir.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLON_EDITOR), QStringList());
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardError(), QByteArray("quillon: cannot open a display (is DISPLAY or WAYLAND_DISPLAY set?)\n"));
}
