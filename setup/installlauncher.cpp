#include "setup/installlauncher.h"

#include "platform/registry.h"
#include "platform/shell.h"
#include "setup/setupui.h"

#include <QDir>
#include <QProcess>

CInstallLauncher::CInstallLauncher(const Registry& desktopRegistry, SetupUi& ui, Starter starter)
    : m_registry(desktopRegistry)
    , m_ui(ui)
    , m_starter(starter ? std::move(starter) : Starter([](const QString& program, const QStringList& arguments) {
          return QProcess::startDetached(program, arguments);
      }))
{
}

QString CInstallLauncher::AppManagerKey()
{
    return Shell::AppPathsKey(QStringLiteral("CEAPPMGR.EXE"));
}

bool CInstallLauncher::Launch(QWidget*)
{
    // Any length the host's paths can have is accepted: the registry value is
    // not squeezed into a fixed buffer here.
    const auto value = m_registry.value(RegistryHive::LocalMachine, AppManagerKey(), QString());
    const QString manager = value ? value->toString() : QString();
    if (manager.isEmpty()) {
        m_ui.MessageBox(QStringLiteral("Setup failed!\nCould not find CE application manager."),
                        kSetupCaption, SetupUi::Warning, nullptr);
        return false;
    }
    // The description's full path as the one argument, exactly as it is: no
    // command line is built, so blanks and quotes in folder names cannot split it.
    const QString description = QDir::currentPath() + QStringLiteral("/Quillon for Pocket PCs.ini");
    if (!m_starter(manager, {description})) {
        m_ui.MessageBox(QStringLiteral("Setup failed!\nCould not start CE application manager:\n%1").arg(manager),
                        kSetupCaption, SetupUi::Warning, nullptr);
        return false;
    }
    return true;
}
