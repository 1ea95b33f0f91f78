#include "platform/contactsstore.h"

#include "platform/devicepaths.h"
#include "platform/registry.h"
#include "platform/vcard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>

#include <sys/stat.h>

namespace {

constexpr auto ClassesRoot = RegistryHive::ClassesRoot;

// 32-bit FNV-1a over the UTF-8 bytes.
quint32 fnv1a(const QString& text)
{
    quint32 hash = 2166136261u;
    for (const char byte : text.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return hash;
}

QString trimmedValue(const VCardProperty* property)
{
    return property ? property->value().trimmed() : QString();
}

// What identifies a card across reads of the same file: its UID, else its
// name together with its first e-mail address.
QString identity(const VCard& card)
{
    const QString uid = trimmedValue(card.first(u"UID"));
    if (!uid.isEmpty())
        return uid;
    QString name = trimmedValue(card.first(u"FN"));
    if (name.isEmpty())
        name = trimmedValue(card.first(u"N"));
    return name + QLatin1Char('\n') + trimmedValue(card.first(u"EMAIL"));
}

QList<ContactsStore::BookStamp> addressBooks(const QString& folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Readable);
    QList<ContactsStore::BookStamp> books;
    for (const QFileInfo& entry : entries) {
        if (!entry.fileName().endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive))
            continue;
        // Nanoseconds: a book saved twice within a millisecond is still seen to change.
        struct stat info {};
        if (::stat(QFile::encodeName(entry.filePath()).constData(), &info) != 0)
            continue;
        books.append({entry.filePath(), qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                      quint64(info.st_ino)});
    }
    // The same order on every host, whatever its locale.
    std::sort(books.begin(), books.end(), [](const auto& a, const auto& b) {
        const int folded = a.path.compare(b.path, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.path < b.path;
    });
    return books;
}

// Runs on the reader thread: touches nothing of the store, and gives up as
// soon as stop is set.
std::shared_ptr<const ContactsSnapshot> readBooks(const QList<ContactsStore::BookStamp>& books, const std::atomic<bool>& stop)
{
    auto contents = std::make_shared<ContactsSnapshot>();
    contents->reader = std::this_thread::get_id();
    QSet<quint32> taken;
    for (const ContactsStore::BookStamp& book : books) {
        QFile file(book.path);
        if (stop.load(std::memory_order_relaxed) || !file.open(QIODevice::ReadOnly))
            continue;
        // Only the card being read is held whole; what is kept of it is its 31 values.
        ReadVCards(file.readAll(), [&](VCard& card) {
            if (stop.load(std::memory_order_relaxed))
                return false;
            quint32 id = fnv1a(identity(card));
            // Ids must stay unique and non-zero; stepping keeps them stable
            // as long as the files and their order do not change.
            while (id == 0 || taken.contains(id))
                ++id;
            taken.insert(id);
            contents->items.emplace_back(id, MapContactValues(std::move(card)));
            return true;
        });
    }
    contents->items.shrink_to_fit();
    contents->byId.reserve(contents->items.size());
    for (quint32 i = 0; i < contents->items.size(); ++i)
        contents->byId.emplace_back(contents->items[i].ObjectId(), i);
    std::sort(contents->byId.begin(), contents->byId.end());
    return contents;
}

// Label to property number, blanks around the labels dropped.
const QHash<QString, int>& propertyNumbers()
{
    static const QHash<QString, int> numbers = [] {
        QHash<QString, int> byLabel;
        const QStringList& labels = ContactsStore::PropertyLabels();
        for (int i = 0; i < labels.size(); ++i)
            byLabel.insert(labels[i].trimmed(), i);
        return byLabel;
    }();
    return numbers;
}

} // namespace

// A read running on a thread of its own. Until done, only that thread
// touches contents.
struct ContactsStore::Reader {
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    std::shared_ptr<const ContactsSnapshot> contents;
    std::thread thread;

    ~Reader()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
    }
};

ContactItem::ContactItem(quint32 objectId, const ContactValues& values)
    : m_objectId(objectId)
{
    qsizetype length = 0;
    for (const QString& value : values)
        length += value.size();
    m_text.reserve(length);
    for (int i = 0; i < ContactProp::Count; ++i) {
        m_text += values[i];
        m_ends[i] = quint32(m_text.size());
    }
}

QString ContactItem::Property(const QString& label) const
{
    return Value(propertyNumbers().value(label.trimmed(), -1));
}

QString ContactItem::Value(int prop) const
{
    if (prop < 0 || prop >= ContactProp::Count)
        return QString();
    const quint32 start = prop == 0 ? 0 : m_ends[prop - 1];
    return m_text.mid(start, m_ends[prop] - start);
}

const ContactItem* ContactsSnapshot::ItemByObjectId(quint32 objectId) const
{
    const auto found = std::lower_bound(byId.begin(), byId.end(), std::make_pair(objectId, quint32(0)));
    return found != byId.end() && found->first == objectId ? &items[found->second] : nullptr;
}

const ContactItem* ContactsFolder::Item(int i) const
{
    if (i < 1 || i > Count())
        return nullptr;
    return &m_contents->items[i - 1];
}

const QStringList& ContactsStore::PropertyLabels()
{
    static const QStringList labels = {
        QStringLiteral("Last Name"),
        QStringLiteral("First Name"),
        QStringLiteral("Middle Name "),
        QStringLiteral("Suffix"),
        QStringLiteral("Title"),
        QStringLiteral("Job Title"),
        QStringLiteral("Department"),
        QStringLiteral("Company"),
        QStringLiteral("Email"),
        QStringLiteral("Email2"),
        QStringLiteral("Email3"),
        QStringLiteral("Work Tel"),
        QStringLiteral("Work2 Tel"),
        QStringLiteral("Work Fax"),
        QStringLiteral("Mobile Tel"),
        QStringLiteral("Pager"),
        QStringLiteral("Home Tel"),
        QStringLiteral("Home2 Tel"),
        QStringLiteral("Home Fax"),
        QStringLiteral("Car Tel"),
        QStringLiteral("Web Page"),
        QStringLiteral("Radio Tel"),
        QStringLiteral("Assistant"),
        QStringLiteral("Assistant Tel"),
        QStringLiteral("Office Loc"),
        QStringLiteral("Business Street"),
        QStringLiteral("Business City"),
        QStringLiteral("Business State/Region"),
        QStringLiteral("Business Zip/Postal Code"),
        QStringLiteral("Business Country"),
        QStringLiteral("Notes"),
    };
    return labels;
}

ContactsStore::ContactsStore(Registry& registry, const DevicePaths& device)
    : m_registry(registry)
    , m_device(device)
{
}

ContactsStore::~ContactsStore() = default;

bool ContactsStore::IsRegistered() const
{
    return m_registry.keyExists(ClassesRoot, ProgId());
}

bool ContactsStore::Register()
{
    const QString clsidKey = ProgId() + QStringLiteral("\\CLSID");
    return m_registry.setValueCreatingKey(ClassesRoot, ProgId(), QString(), RegistryValue::fromString(QStringLiteral("Pocket Outlook")))
        && m_registry.setValueCreatingKey(ClassesRoot, clsidKey, QString(),
                                          RegistryValue::fromString(QStringLiteral("{05058F23-20BE-11D2-8F18-0000F87A4335}")));
}

bool ContactsStore::LogOn()
{
    LogOff();
    m_loggedOn = true;
    StartReading();
    return true;
}

void ContactsStore::LogOff()
{
    StopReading();
    m_folder.m_contents.reset();
    m_readStamps.clear();
    m_loggedOn = false;
}

QList<ContactsStore::BookStamp> ContactsStore::Stamps() const
{
    return addressBooks(m_device.toHost(QStringLiteral("\\Contacts")));
}

void ContactsStore::StartReading()
{
    StopReading(); // an older read is out of date already
    m_readStamps = Stamps();
    m_reader = std::make_unique<Reader>();
    Reader* reader = m_reader.get();
    reader->thread = std::thread([reader, books = m_readStamps] {
        reader->contents = readBooks(books, reader->stop);
        reader->done.store(true, std::memory_order_release);
    });
}

void ContactsStore::StopReading()
{
    m_reader.reset();
}

void ContactsStore::Settle() const
{
    if (!m_reader)
        return;
    m_reader->thread.join();
    m_folder.m_contents = std::move(m_reader->contents);
    m_reader.reset();
}

bool ContactsStore::NeedsRefresh() const
{
    if (!m_loggedOn)
        return false;
    if (m_reader && !m_reader->done.load(std::memory_order_acquire))
        return true;
    return Stamps() != m_readStamps;
}

void ContactsStore::Refresh()
{
    if (!m_loggedOn)
        return;
    if (Stamps() != m_readStamps)
        StartReading();
    Settle();
}

const ContactsFolder* ContactsStore::DefaultContactsFolder() const
{
    if (!m_loggedOn)
        return nullptr;
    Settle();
    return &m_folder;
}

const ContactItem* ContactsStore::ItemByObjectId(quint32 objectId) const
{
    if (!m_loggedOn)
        return nullptr;
    Settle();
    return m_folder.m_contents ? m_folder.m_contents->ItemByObjectId(objectId) : nullptr;
}
