#include "setup/ceappmgr/installdescription.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>

namespace {

// Sections of key=value lines; ';' and '#' start comments; names ignore case.
using Sections = QHash<QString, QList<std::pair<QString, QString>>>;

Sections ParseIni(const QByteArray& text)
{
    Sections sections;
    QString current;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = line.mid(1, line.size() - 2).trimmed().toLower();
            sections[current];
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !current.isEmpty())
            sections[current].append({line.left(equals).trimmed(), line.mid(equals + 1).trimmed()});
    }
    return sections;
}

QString ValueOf(const Sections& sections, const QString& section, const QString& key)
{
    for (const auto& [name, value] : sections.value(section.toLower())) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

} // namespace

bool InstallDescription::Read(const QString& path, InstallDescription* description, QString* error)
{
    QFile file(path);
    if (!file.exists()) {
        *error = QStringLiteral("The installation description \"%1\" was not found.").arg(path);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The installation description \"%1\" cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    QString why;
    if (!Parse(file.readAll(), description, &why)) {
        *error = QStringLiteral("The installation description \"%1\" cannot be used: %2").arg(path, why);
        return false;
    }
    return true;
}

bool InstallDescription::Parse(const QByteArray& text, InstallDescription* description, QString* error)
{
    const Sections sections = ParseIni(text);
    const QString component = ValueOf(sections, QStringLiteral("CEAppManager"), QStringLiteral("Component"));
    if (component.isEmpty()) {
        *error = QStringLiteral("it has no [CEAppManager] section naming a Component.");
        return false;
    }
    InstallDescription result;
    result.appName = ValueOf(sections, component, QStringLiteral("AppName"));
    result.installDir = ValueOf(sections, component, QStringLiteral("InstallDir"));
    result.settingsKey = ValueOf(sections, component, QStringLiteral("SettingsKey"));
    if (result.appName.isEmpty() || !result.installDir.startsWith(QLatin1Char('\\'))) {
        *error = QStringLiteral("the [%1] section needs an AppName and an InstallDir starting with a backslash.").arg(component);
        return false;
    }
    for (const QString& name : ValueOf(sections, component, QStringLiteral("Files")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        FileSet set{name.trimmed(), ValueOf(sections, name.trimmed(), QStringLiteral("Source")),
                    ValueOf(sections, name.trimmed(), QStringLiteral("Destination")),
                    ValueOf(sections, name.trimmed(), QStringLiteral("Replace")).compare(QLatin1String("no"), Qt::CaseInsensitive) != 0,
                    ValueOf(sections, name.trimmed(), QStringLiteral("OnlyIntoEmpty")).compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0};
        // Sources stay inside the installation folder. A leading ':' counts as
        // absolute too: Qt would read such a source from its resources.
        if (set.source.isEmpty() || QDir::isAbsolutePath(set.source) || set.source.contains(QLatin1String(".."))
            || !set.destination.startsWith(QLatin1Char('\\'))) {
            *error = QStringLiteral("the files [%1] need a Source inside the installation folder and a device Destination.").arg(set.name);
            return false;
        }
        result.files.append(set);
    }
    for (const auto& [program, role] : sections.value(QStringLiteral("apppaths"))) {
        if (role != QLatin1String("open") && role != QLatin1String("send")) {
            *error = QStringLiteral("the program %1 has the role \"%2\"; it must be open or send.").arg(program, role);
            return false;
        }
        result.appPaths.append({program, role});
    }
    for (const auto& [entry, value] : sections.value(QStringLiteral("settingsdefaults"))) {
        const qsizetype slash = entry.lastIndexOf(QLatin1Char('\\'));
        bool isNumber = false;
        const quint32 number = value.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)
            ? value.mid(6).toUInt(&isNumber, 16)
            : 0;
        if (slash <= 0 || slash + 1 == entry.size() || !isNumber || result.settingsKey.isEmpty()) {
            *error = QStringLiteral("the setting %1 needs the form section\\name=dword:hex and a SettingsKey.").arg(entry);
            return false;
        }
        result.settingDefaults.append({entry.left(slash), entry.mid(slash + 1), number});
    }
    *description = result;
    return true;
}
