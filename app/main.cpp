#include "app/quillonapp.h"
#include "app/stacklimit.h"
#include "editor/mainframe.h"
#include "editor/minuteview.h"
#include "framework/scripteduiservice.h"
#include "platform/devicepaths.h"
#include "platform/inputpanel.h"

#include <QApplication>
#include <QList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

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

// Without a display Qt ends the process from inside the application object's
// constructor, after several lines about platform plugins. Until that object
// exists, messages are held back; if it cannot be made, one line says why.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> g_heldMessages;

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fputs("quillon: cannot open a display (is DISPLAY or WAYLAND_DISPLAY set?)\n", stderr);
        std::_Exit(1);
    }
    g_heldMessages.append({type, QByteArray(context.category), text});
}

std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv)
{
    const QtMessageHandler previous = qInstallMessageHandler(HoldStartupMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const HeldMessage& message : std::exchange(g_heldMessages, {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.isNull() ? nullptr : message.category.constData());
        if (previous)
            previous(message.type, context, message.text);
    }
    return application;
}

} // namespace

int main(int argc, char** argv)
{
    RaiseStackLimit();
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--self-test") == 0)
            return SelfTest(argc, argv);
    }
    const std::unique_ptr<QApplication> application = MakeApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setOrganizationName(QStringLiteral("Corvexa"));
    QApplication::setDesktopFileName(QStringLiteral("quillon"));

    CQuillonApp app(DevicePaths::defaultDeviceRoot());
    if (!app.InitInstance(QApplication::arguments()))
        return app.StartupExitCode();
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
