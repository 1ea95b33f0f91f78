#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class Registry;
class SetupUi;
class QWidget;

// Finds the application manager in the desktop registry and starts it on
// the installation description in the current folder.
class CInstallLauncher {
public:
    using Starter = std::function<bool(const QString& program, const QStringList& arguments)>;

    CInstallLauncher(const Registry& desktopRegistry, SetupUi& ui, Starter starter = {});

    // True when the application manager was started; false (the user has
    // been told why) when it cannot be found or cannot be started.
    bool Launch(QWidget* owner);

    static QString AppManagerKey();

private:
    const Registry& m_registry;
    SetupUi& m_ui;
    Starter m_starter;
};
