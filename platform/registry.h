#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

enum class RegistryHive { CurrentUser, LocalMachine, ClassesRoot };

// Value types, numbered as the device's registry numbers them.
enum RegistryType : quint32 {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegMultiSz = 7,
};

// A typed value with its stored bytes. Strings are stored as UTF-16LE with a
// terminating zero, so "abc" takes 8 bytes; a DWORD takes 4 bytes, little-endian.
struct RegistryValue {
    quint32 type = RegNone;
    QByteArray data;

    static RegistryValue fromString(const QString& text);
    static RegistryValue fromDword(quint32 number);
    // The bytes read as UTF-16LE up to the first zero character (or the end).
    QString toString() const;

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// The device's (or the desktop's) registry: hives of keys holding named, typed
// values, kept in a text file in the registry-editor export syntax.
//
// Keys are backslash paths below a hive ("software\Corvexa\Quillon"); key and
// value names compare case-insensitively and keep the case they were created
// with. The empty value name is the key's default value.
//
// Nothing is cached across processes: a read first picks up the file again if
// another process has replaced it, and every change is written to the file at
// once, atomically, under a lock file, after merging the file's current
// content, so two processes never lose each other's writes. A damaged file is
// read as far as it makes sense (unreadable lines are skipped) and the next
// change writes a clean one, after keeping the damaged file beside it as
// "<file>.damaged". Operations that change something return false when
// the change could not be stored; the registry then reflects the file again.
class Registry {
public:
    explicit Registry(const QString& filePath);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    QString filePath() const;
    // Called with the cause whenever a change cannot be stored in the file
    // (the change then returns false), so that the loss can be reported.
    void setStoreFailureHandler(std::function<void(const QString& cause)> handler);

    bool keyExists(RegistryHive hive, const QString& key) const;
    // Creates the key and any missing parents; true when it exists afterwards.
    bool createKey(RegistryHive hive, const QString& key);
    // Deletes the key with everything below it; false when it did not exist.
    bool deleteKey(RegistryHive hive, const QString& key);
    QStringList subKeys(RegistryHive hive, const QString& key) const;

    std::optional<RegistryValue> value(RegistryHive hive, const QString& key, const QString& name) const;
    QStringList valueNames(RegistryHive hive, const QString& key) const;
    // Fails when the key does not exist, as a write to an unopened key would.
    bool setValue(RegistryHive hive, const QString& key, const QString& name, const RegistryValue& value);
    // Creates the key when missing and sets the value, as one change of the file.
    bool setValueCreatingKey(RegistryHive hive, const QString& key, const QString& name, const RegistryValue& value);
    // False when the value did not exist.
    bool deleteValue(RegistryHive hive, const QString& key, const QString& name);

    static QString hiveName(RegistryHive hive);
    static std::optional<RegistryHive> hiveFromName(const QString& name);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
