#include "platform/registry.h"

#include "platform/filelock.h"
#include "platform/fileops.h"
#include "platform/regfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <functional>

#include <sys/stat.h>

namespace {

// How long a change waits for another process to finish its own.
constexpr int LockTimeoutMs = 5000;

// One version of the file. QSaveFile replaces the file, which gives it a new
// inode even when size and time (whose granularity is coarse) stay the same;
// size and time catch edits made in place by other programs.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 mtimeSec = 0;
    qint64 mtimeNsec = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp stampOf(const struct stat& info)
{
    return {true, quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size), qint64(info.st_mtim.tv_sec), qint64(info.st_mtim.tv_nsec)};
}

// nullopt when the file's state cannot be told.
std::optional<FileStamp> statFile(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return stampOf(info);
    if (errno == ENOENT || errno == ENOTDIR)
        return FileStamp{};
    return std::nullopt;
}

enum class Outcome { Unchanged, Changed, Refused };

} // namespace

struct Registry::Private {
    QString path;
    RegTree tree;
    // The version of the file tree holds; nullopt when tree is to be reloaded.
    std::optional<FileStamp> loaded;
    // That version's bytes when parts of it could not be read, to be kept
    // beside the file before a rewrite drops those parts.
    QByteArray damagedBytes;
    std::function<void(const QString&)> onStoreFailure;

    void drop()
    {
        tree = RegTree();
        loaded.reset();
        damagedBytes.clear();
    }

    bool fail(const QString& cause)
    {
        if (onStoreFailure)
            onStoreFailure(cause);
        return false;
    }

    // Brings tree up to the file's current content. False when the file is
    // there but cannot be read; tree is then empty.
    bool refresh()
    {
        const std::optional<FileStamp> now = statFile(path);
        if (loaded && now && *loaded == *now)
            return true;
        drop();
        if (!now)
            return false;
        if (!now->exists) {
            loaded = now;
            return true;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        // The stamp of what is actually read, in case the file was replaced since the stat.
        struct stat info {};
        if (::fstat(file.handle(), &info) != 0)
            return false;
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return false;
        bool damaged = false;
        tree = parseRegFile(bytes, &damaged);
        loaded = stampOf(info);
        if (damaged)
            damagedBytes = bytes;
        return true;
    }

    static bool replaceFile(const QString& target, const QByteArray& bytes, QString* error)
    {
        QSaveFile file(target);
        if (file.open(QIODevice::WriteOnly)) {
            KeepOwnerOf(target, file.handle());
            if (file.write(bytes) == bytes.size() && file.commit())
                return true;
        }
        *error = file.errorString();
        return false;
    }

    bool write(QString* error)
    {
        // The latest damaged version is kept so that what could not be read
        // can still be recovered by hand.
        if (!damagedBytes.isEmpty() && !replaceFile(path + QStringLiteral(".damaged"), damagedBytes, error))
            return false;
        if (!replaceFile(path, formatRegFile(tree), error))
            return false;
        damagedBytes.clear();
        loaded = statFile(path);
        return true;
    }

    // Applies a change to the file's latest content and stores it, all under
    // the lock, so that changes made by other processes in the meantime are kept.
    bool change(const std::function<Outcome(RegTree&)>& apply)
    {
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            return fail(QStringLiteral("its folder cannot be made"));
        FileLock lock(path + QStringLiteral(".lock"));
        if (!lock.tryLock(LockTimeoutMs))
            return fail(QStringLiteral("it stays locked by another program"));
        // An unreadable file must not be overwritten with what little is known.
        if (!refresh())
            return fail(QStringLiteral("it cannot be read"));
        switch (apply(tree)) {
        case Outcome::Unchanged:
            return true;
        case Outcome::Refused:
            return false;
        case Outcome::Changed:
            break;
        }
        QString error;
        if (!write(&error)) {
            drop(); // the change is not in the file, so it must not linger here
            return fail(error);
        }
        return true;
    }

    const RegKeyNode* find(RegistryHive hive, const QString& key)
    {
        const std::optional<QStringList> path = splitKeyPath(key);
        if (!path)
            return nullptr;
        refresh();
        return tree.find(hive, *path);
    }
};

QString RegistryValue::toString() const
{
    QString text;
    const qsizetype units = data.size() / 2;
    text.reserve(units);
    for (qsizetype i = 0; i < units; ++i) {
        const auto unit = char16_t(uchar(data[2 * i]) | uchar(data[2 * i + 1]) << 8);
        if (unit == 0)
            break;
        text += QChar(unit);
    }
    return text;
}

RegistryValue RegistryValue::fromString(const QString& text)
{
    QByteArray data;
    data.reserve((text.size() + 1) * 2);
    for (const QChar c : text) {
        data.append(char(c.unicode() & 0xff));
        data.append(char(c.unicode() >> 8));
    }
    data.append(2, '\0');
    return {RegSz, data};
}

RegistryValue RegistryValue::fromDword(quint32 number)
{
    QByteArray data(4, Qt::Uninitialized);
    for (int i = 0; i < 4; ++i)
        data[i] = char(number >> (8 * i) & 0xff);
    return {RegDword, data};
}

Registry::Registry(const QString& filePath)
    : d(std::make_unique<Private>())
{
    d->path = filePath;
}

Registry::~Registry() = default;

QString Registry::filePath() const
{
    return d->path;
}

void Registry::setStoreFailureHandler(std::function<void(const QString& cause)> handler)
{
    d->onStoreFailure = std::move(handler);
}

bool Registry::keyExists(RegistryHive hive, const QString& key) const
{
    return d->find(hive, key) != nullptr;
}

bool Registry::createKey(RegistryHive hive, const QString& key)
{
    const std::optional<QStringList> path = splitKeyPath(key);
    if (!path)
        return false;
    if (path->isEmpty())
        return true; // a hive always exists
    // Settings reads open their section this way, so an existing key is answered without the lock.
    if (d->find(hive, key))
        return true;
    return d->change([&](RegTree& tree) {
        bool created = false;
        tree.create(hive, *path, &created);
        return created ? Outcome::Changed : Outcome::Unchanged;
    });
}

bool Registry::deleteKey(RegistryHive hive, const QString& key)
{
    std::optional<QStringList> path = splitKeyPath(key);
    if (!path || path->isEmpty())
        return false; // hives cannot be deleted
    const QString last = path->takeLast();
    return d->change([&](RegTree& tree) {
        RegKeyNode* parent = tree.find(hive, *path);
        return parent && parent->removeChild(last) ? Outcome::Changed : Outcome::Refused;
    });
}

QStringList Registry::subKeys(RegistryHive hive, const QString& key) const
{
    const RegKeyNode* node = d->find(hive, key);
    return node ? node->childNames() : QStringList();
}

std::optional<RegistryValue> Registry::value(RegistryHive hive, const QString& key, const QString& name) const
{
    const RegKeyNode* node = d->find(hive, key);
    const RegistryValue* value = node ? node->value(name) : nullptr;
    return value ? std::optional(*value) : std::nullopt;
}

QStringList Registry::valueNames(RegistryHive hive, const QString& key) const
{
    const RegKeyNode* node = d->find(hive, key);
    return node ? node->valueNames() : QStringList();
}

bool Registry::setValue(RegistryHive hive, const QString& key, const QString& name, const RegistryValue& value)
{
    const std::optional<QStringList> path = splitKeyPath(key);
    if (!path || path->isEmpty() || !isValidValueName(name))
        return false;
    return d->change([&](RegTree& tree) {
        RegKeyNode* node = tree.find(hive, *path);
        if (!node)
            return Outcome::Refused;
        return node->setValue(name, value) ? Outcome::Changed : Outcome::Unchanged;
    });
}

bool Registry::setValueCreatingKey(RegistryHive hive, const QString& key, const QString& name, const RegistryValue& value)
{
    const std::optional<QStringList> path = splitKeyPath(key);
    if (!path || path->isEmpty() || !isValidValueName(name))
        return false;
    return d->change([&](RegTree& tree) {
        bool created = false;
        RegKeyNode& node = tree.create(hive, *path, &created);
        const bool changed = node.setValue(name, value);
        return created || changed ? Outcome::Changed : Outcome::Unchanged;
    });
}

bool Registry::deleteValue(RegistryHive hive, const QString& key, const QString& name)
{
    const std::optional<QStringList> path = splitKeyPath(key);
    if (!path || path->isEmpty())
        return false;
    return d->change([&](RegTree& tree) {
        RegKeyNode* node = tree.find(hive, *path);
        return node && node->removeValue(name) ? Outcome::Changed : Outcome::Refused;
    });
}

QString Registry::hiveName(RegistryHive hive)
{
    switch (hive) {
    case RegistryHive::CurrentUser:
        return QStringLiteral("HKEY_CURRENT_USER");
    case RegistryHive::LocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RegistryHive::ClassesRoot:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    }
    return {};
}

std::optional<RegistryHive> Registry::hiveFromName(const QString& name)
{
    for (const RegistryHive hive : {RegistryHive::CurrentUser, RegistryHive::LocalMachine, RegistryHive::ClassesRoot}) {
        if (name.compare(hiveName(hive), Qt::CaseInsensitive) == 0)
            return hive;
    }
    return std::nullopt;
}
