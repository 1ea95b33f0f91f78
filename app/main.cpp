#include "app/quillonapp.h"
#include "editor/mainframe.h"
#include "editor/minuteview.h"
#include "framework/scripteduiservice.h"
#include "platform/devicepaths.h"
#include "platform/inputpanel.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A smoke run on a fresh device folder: start up, show an empty minute, close.
int SelfTest(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir device;
    ScriptedUiService ui;
    TestInputPanel panel;
    CQuillonApp app(device.path(), &ui, &panel);
    if (!app.InitInstance({QStringLiteral("quillon")})) {
        std::fprintf(stderr, "self-test: start-up failed\n");
        return 1;
    }
    QTreeWidgetItem* root = app.MainFrame()->TreeView()->RootItem();
    const bool ok = root && root->text(0) == QLatin1String("Untitled") && app.MainFrame()->isVisible();
    app.MainFrame()->close();
    std::fprintf(stderr, "self-test: %s\n", ok ? "ok" : "the window did not show an empty minute");
    return ok && ui.unanswered.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--self-test") == 0)
            return SelfTest(argc, argv);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setOrganizationName(QStringLiteral("Corvexa"));
    QApplication::setDesktopFileName(QStringLiteral("quillon"));

    CQuillonApp app(DevicePaths::defaultDeviceRoot());
    if (!app.InitInstance(QApplication::arguments()))
        return 0;
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
