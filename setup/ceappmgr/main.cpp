// ceappmgr: the application manager. Given the path of an installation
// description (one argument), it installs what the description names onto the device.
//
//   ceappmgr [--quiet] [--device FOLDER] DESCRIPTION.ini
//   ceappmgr --register     record this program in the desktop registry

#include "platform/devicepaths.h"
#include "platform/registry.h"
#include "setup/ceappmgr/deviceinstaller.h"
#include "setup/ceappmgr/installdescription.h"
#include "setup/installlauncher.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>

#include <cstdio>
#include <memory>

namespace {

const char kUsage[] = "usage: ceappmgr [--quiet] [--device FOLDER] DESCRIPTION.ini\n"
                      "       ceappmgr --register\n";

// Shows the outcome in a window of its own.
void ShowReport(const QString& title, const QStringList& lines)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Application Manager"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(title, &dialog));
    auto* text = new QPlainTextEdit(lines.join(QLatin1Char('\n')), &dialog);
    text->setReadOnly(true);
    layout->addWidget(text, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(560, 360);
    dialog.exec();
}

int Report(bool windowed, bool ok, const QString& title, const QStringList& lines)
{
    if (!windowed) {
        std::FILE* out = ok ? stdout : stderr;
        std::fprintf(out, "%s\n", qPrintable(title));
        for (const QString& line : lines)
            std::fprintf(out, "  %s\n", qPrintable(line));
    } else {
        ShowReport(title, lines);
    }
    return ok ? 0 : 1;
}

// Whether a window could be shown: a display, or a platform chosen explicitly.
bool CanShowWindows()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    // The arguments decide whether a window is needed at all, so they are read
    // before the application object is made.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    QString device = DevicePaths::defaultDeviceRoot();
    QString descriptionPath;
    bool quiet = false;
    bool registerSelf = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--quiet")) {
            quiet = true;
        } else if (argument == QLatin1String("--register")) {
            registerSelf = true;
        } else if (argument == QLatin1String("--device") && i + 1 < arguments.size()) {
            device = arguments.at(++i);
        } else if (descriptionPath.isEmpty() && !argument.startsWith(QLatin1String("--"))) {
            descriptionPath = argument;
        } else {
            std::fprintf(stderr, "ceappmgr: unexpected argument '%s'\n%s", qPrintable(argument), kUsage);
            return 2;
        }
    }

    // Only the report window needs a display; everything else also runs over
    // SSH, and without a display the report goes to the terminal instead.
    const bool windowed = !quiet && !registerSelf && !descriptionPath.isEmpty() && CanShowWindows();
    std::unique_ptr<QCoreApplication> application;
    if (windowed)
        application = std::make_unique<QApplication>(argc, argv);
    else
        application = std::make_unique<QCoreApplication>(argc, argv);

    if (registerSelf) {
        // Setup finds the application manager through the desktop registry.
        Registry desktop(DevicePaths(DevicePaths::defaultDesktopRoot()).registryFile());
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
        const bool ok = desktop.setValueCreatingKey(RegistryHive::LocalMachine, CInstallLauncher::AppManagerKey(), QString(),
                                                    RegistryValue::fromString(self));
        if (!ok)
            std::fprintf(stderr, "ceappmgr: could not write the desktop registry %s\n", qPrintable(desktop.filePath()));
        return ok ? 0 : 1;
    }
    if (descriptionPath.isEmpty()) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }

    InstallDescription description;
    QString error;
    if (!InstallDescription::Read(descriptionPath, &description, &error))
        return Report(windowed, false, QStringLiteral("Nothing was installed."), {error});

    const DevicePaths paths(device);
    Registry registry(paths.registryFile());
    DeviceInstaller installer(paths, registry);
    // The medium and this program come from the same build.
    installer.m_version = QStringLiteral(QUILLON_VERSION);
    QStringList report;
    const bool ok = installer.Install(description, QFileInfo(descriptionPath).absolutePath(), &report);
    const QString title = ok ? QStringLiteral("%1 was installed on the device %2.").arg(description.appName, device)
                             : QStringLiteral("%1 could not be installed completely on the device %2.").arg(description.appName, device);
    return Report(windowed, ok, title, report);
}
