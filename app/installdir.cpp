#include "app/installdir.h"

#include "platform/registry.h"

QString InstallKey()
{
    return QStringLiteral("SOFTWARE\\Apps\\%1").arg(QString::fromUtf16(kAppLongName));
}

std::optional<QString> GetInstallDir(const Registry& registry)
{
    const auto value = registry.value(RegistryHive::LocalMachine, InstallKey(), QStringLiteral("InstallDir"));
    if (!value)
        return std::nullopt;
    return value->toString();
}
