#include "app/recentminutes.h"

#include "app/settingsprofile.h"
#include "platform/devicepaths.h"

#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("Recent");

QString EntryName(int number)
{
    return QStringLiteral("File%1").arg(number);
}

} // namespace

RecentMinutes::RecentMinutes(SettingsProfile& profile, const DevicePaths& device)
    : m_profile(profile)
    , m_device(device)
{
}

QString RecentMinutes::HostPathOf(const QString& path) const
{
    return QFileInfo(m_device.toHost(normaliseFilePath(path))).absoluteFilePath();
}

QStringList RecentMinutes::List() const
{
    QStringList paths;
    QStringList seen;
    for (int number = 1; number <= kMaximum; ++number) {
        const QString path = m_profile.ReadString(kSection, EntryName(number), QString());
        // A settings file edited by hand may hold gaps or the same file twice.
        if (path.isEmpty() || seen.contains(HostPathOf(path)))
            continue;
        seen.append(HostPathOf(path));
        paths.append(path);
    }
    return paths;
}

void RecentMinutes::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    QStringList paths = List();
    const QString host = HostPathOf(path);
    paths.removeIf([&](const QString& kept) { return HostPathOf(kept) == host; });
    paths.prepend(path);
    Store(paths.mid(0, kMaximum));
}

void RecentMinutes::Remove(const QString& path)
{
    QStringList paths = List();
    const QString host = HostPathOf(path);
    if (paths.removeIf([&](const QString& kept) { return HostPathOf(kept) == host; }) > 0)
        Store(paths);
}

void RecentMinutes::Store(const QStringList& paths)
{
    for (int number = 1; number <= kMaximum; ++number) {
        if (number <= paths.size())
            m_profile.WriteString(kSection, EntryName(number), paths[number - 1]);
        else
            m_profile.WriteString(kSection, EntryName(number), std::nullopt);
    }
}
