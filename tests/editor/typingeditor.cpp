// The whole editor as a process of its own, for the crash test: it opens the
// minute it is given, types into its first item as a user would, and says
// "copied" once the recovery copy holds the typing; then it waits to be killed.
// Usage: typing_editor <device folder> <minute> <text to type>

#include "app/quillonapp.h"
#include "app/recoverykeeper.h"
#include "editor/detailview.h"
#include "editor/mainframe.h"
#include "editor/minuteview.h"
#include "framework/scripteduiservice.h"
#include "model/recoverystore.h"
#include "platform/inputpanel.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString device = QString::fromLocal8Bit(argv[1]);
    ScriptedUiService ui;
    TestInputPanel panel;
    CQuillonApp app(device, &ui, &panel);
    if (!app.InitInstance({QStringLiteral("quillon"), QString::fromLocal8Bit(argv[2])}))
        return 3;
    CMainFrame* frame = app.MainFrame();
    frame->show();
    frame->activateWindow();
    if (!QTest::qWaitForWindowActive(frame))
        return 4;
    app.Recovery()->SetInterval(200);

    CMinuteView* tree = frame->TreeView();
    const QRect row = tree->visualItemRect(tree->ItemAt(1));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, row.center());
    CDetailView* text = frame->TextView();
    text->setFocus();
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, QString::fromLocal8Bit(argv[3]));

    const RecoveryStore store(device + QStringLiteral("/Program Files/Quillon/Recovery"));
    for (int i = 0; i < 500 && store.Copies().isEmpty(); ++i)
        QTest::qWait(20);
    app.Recovery()->WaitForWrite();
    if (store.Copies().isEmpty())
        return 5;
    std::puts("copied");
    std::fflush(stdout);
    for (;;)
        QTest::qWait(1000);
}
