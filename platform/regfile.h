#pragma once

#include "platform/registry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// The registry file's text form (the registry-editor export syntax), read and
// written over an in-memory tree, so that the syntax can be tested without
// files and registry.cpp only deals with files, locking and the API.

// Limits of the device's registry. The depth limit also keeps a damaged file
// from building a tree too deep to walk recursively.
inline constexpr qsizetype RegMaxKeyDepth = 512;
inline constexpr qsizetype RegMaxKeyNameLength = 255;
inline constexpr qsizetype RegMaxValueNameLength = 16383;

struct RegValueEntry {
    QString name; // in the case it was first created with
    RegistryValue value;
    quint64 order = 0; // creation order within its key
};

struct RegKeyNode {
    QString name; // in the case it was first created with

    // Both keyed by the case-folded name, which also puts the sub keys in
    // case-insensitive order.
    std::map<QString, std::unique_ptr<RegKeyNode>> children;
    std::map<QString, RegValueEntry> values;
    quint64 nextOrder = 0;

    const RegKeyNode* child(const QString& name) const;
    RegKeyNode* child(const QString& name);
    // The child called name, made when missing (*created tells which).
    RegKeyNode& ensureChild(const QString& name, bool* created = nullptr);
    bool removeChild(const QString& name);
    QStringList childNames() const;

    const RegistryValue* value(const QString& name) const;
    // False when the value already held exactly these bytes and type.
    bool setValue(const QString& name, const RegistryValue& value);
    bool removeValue(const QString& name);
    // In creation order.
    std::vector<const RegValueEntry*> orderedValues() const;
    QStringList valueNames() const;
};

// One root node per hive. Roots hold keys only: the file has no place for
// values on a hive itself.
struct RegTree {
    std::array<RegKeyNode, 3> hives;

    RegKeyNode& root(RegistryHive hive);
    const RegKeyNode& root(RegistryHive hive) const;
    // path as splitKeyPath returns it; the empty path is the hive's root.
    const RegKeyNode* find(RegistryHive hive, const QStringList& path) const;
    RegKeyNode* find(RegistryHive hive, const QStringList& path);
    // Makes the key and any missing parents; *created tells whether any was new.
    RegKeyNode& create(RegistryHive hive, const QStringList& path, bool* created = nullptr);
};

// The components of a key path, leading and trailing backslashes ignored.
// nullopt when the path is not a valid key (an empty component, a control
// character, a lone surrogate, or over the limits); an empty list names the
// hive itself.
std::optional<QStringList> splitKeyPath(const QString& key);
// Value names may hold anything but control characters and lone surrogates
// (which the UTF-8 file could not keep); "" is the default value.
bool isValidValueName(const QString& name);

// Reads as much of the text as makes sense; lines that do not are skipped,
// and *damaged tells whether any was (or the text was not UTF-8).
RegTree parseRegFile(const QByteArray& bytes, bool* damaged = nullptr);
QByteArray formatRegFile(const RegTree& tree);
