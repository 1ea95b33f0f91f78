#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class DevicePaths;
class Registry;

// Minute templates: ordinary minute files in the folder "Templates" of the
// installation folder. Without a recorded installation folder there are none.
class Templates {
public:
    Templates(const Registry& registry, const DevicePaths& device);

    // The templates folder as the device names it; nothing without an installation folder.
    std::optional<QString> Folder() const;
    // The names (file name and extension) of the templates, as the file
    // system lists them, read afresh each time. Only regular files count.
    QStringList Names() const;
    // The device path of a template.
    QString PathOf(const QString& name) const;
    bool Exists(const QString& name) const;
    bool Remove(const QString& name) const;

    // The file name a typed template name is saved under: cut at its first
    // dot, ".min" appended. Empty, with *problem set, when the name cannot be
    // used (it would be empty, or would reach outside the templates folder).
    static QString FileNameFor(const QString& typed, QString* problem);

private:
    QString HostPath(const QString& name) const;

    const Registry& m_registry;
    const DevicePaths& m_device;
};
