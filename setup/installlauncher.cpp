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
    const auto value = m_registry.value(RegistryHive::LocalMachine, AppManagerKey(), QString());
    // The path is read into a buffer of 250 bytes: a longer one cannot be read.
    if (!value || value->data.size() > 250 || value->toString().isEmpty()) {
        m_ui.MessageBox(QStringLiteral("Setup failed!\nCould not find CE application manager."),
                        kSetupCaption, SetupUi::Warning, nullptr);
        return false;
    }
    // The description file's full path, in quotes, as the one argument.
    const QString parameters = QStringLiteral("\"%1/Quillon for Pocket PCs.ini\"").arg(QDir::currentPath());
    m_starter(value->toString(), QProcess::splitCommand(parameters));
    return true;
}
