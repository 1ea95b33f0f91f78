#pragma once

#include <QString>

#include <optional>

class Registry;

// The long name the installation records itself under.
inline constexpr char16_t kAppLongName[] = u"Corvexa Quillon for Pocket PCs";

// The key below HKEY_LOCAL_MACHINE that holds "InstallDir".
QString InstallKey();

// The folder the application was installed to, from the device registry;
// nothing when it is not recorded (which is not an error).
std::optional<QString> GetInstallDir(const Registry& registry);
