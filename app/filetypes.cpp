#include "app/filetypes.h"

#include "platform/registry.h"

namespace {

const QString kProgram = QStringLiteral("Quillon.exe");
const QString kType = QStringLiteral("Quillon");

bool SetDefault(Registry& registry, const QString& key, const QString& value)
{
    return registry.setValueCreatingKey(RegistryHive::ClassesRoot, key, QString(), RegistryValue::fromString(value));
}

} // namespace

void RegisterFileTypes(Registry& registry, const std::optional<QString>& installDir)
{
    if (!SetDefault(registry, QStringLiteral(".min"), kType))
        return;
    if (!SetDefault(registry, kType, QStringLiteral("%1 Document").arg(kType)))
        return;
    const QString iconKey = QStringLiteral("%1\\DefaultIcon").arg(kType);
    if (!registry.createKey(RegistryHive::ClassesRoot, iconKey) || !installDir)
        return;
    SetDefault(registry, iconKey, QStringLiteral("%1\\%2,0").arg(*installDir, kProgram));
    // The program in quotes, then the shell's placeholder for the file, also in quotes.
    SetDefault(registry, QStringLiteral("%1\\Shell\\Open\\Command").arg(kType),
               QLatin1Char('"') + *installDir + QLatin1Char('\\') + kProgram + QStringLiteral("\" \"%1\""));
}
