#include "platform/devicepaths.h"
#include "platform/registry.h"
#include "setup/installlauncher.h"
#include "setup/setupui.h"
#include "setup/vantrelapp.h"

#include <QApplication>

#include <cstdio>

namespace {

// A smoke run: the flow up to the introduction, cancelled there.
int SelfTest(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Registry desktop(QStringLiteral("/nonexistent/registry.reg"));
    ScriptedSetupUi ui;
    CInstallLauncher launcher(desktop, ui, [](const QString&, const QStringList&) { return false; });
    CVantrelApp app(ui, launcher);
    const int code = app.Run();
    const bool ok = code == 0 && ui.dialogs == std::vector<QString>{QStringLiteral("102")} && ui.messages.size() == 1
        && ui.messages[0].text == QLatin1String("Setup aborted");
    std::fprintf(stderr, "self-test: %s\n", ok ? "ok" : "unexpected flow");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--self-test") == 0)
            return SelfTest(argc, argv);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication::setOrganizationName(QStringLiteral("Corvexa"));
    Registry desktop(DevicePaths(DevicePaths::defaultDesktopRoot()).registryFile());
    QtSetupUi ui;
    CInstallLauncher launcher(desktop, ui);
    CVantrelApp app(ui, launcher);
    app.Run();
    return 0; // whatever happened
}
