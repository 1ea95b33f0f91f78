#include "platform/contactsstore.h"

#include "platform/devicepaths.h"
#include "platform/registry.h"
#include "platform/vcard.h"

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>

#include <algorithm>

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
    const QString uid = trimmedValue(card.first(QStringLiteral("UID")));
    if (!uid.isEmpty())
        return uid;
    QString name = trimmedValue(card.first(QStringLiteral("FN")));
    if (name.isEmpty())
        name = trimmedValue(card.first(QStringLiteral("N")));
    return name + QLatin1Char('\n') + trimmedValue(card.first(QStringLiteral("EMAIL")));
}

QList<ContactsStore::BookStamp> addressBooks(const QString& folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Readable);
    QList<ContactsStore::BookStamp> books;
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive))
            books.append({entry.filePath(), entry.size(), entry.lastModified().toMSecsSinceEpoch()});
    }
    // The same order on every host, whatever its locale.
    std::sort(books.begin(), books.end(), [](const auto& a, const auto& b) {
        const int folded = a.path.compare(b.path, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.path < b.path;
    });
    return books;
}

// Runs on the reader thread: touches nothing of the store.
ContactsStore::Contents readBooks(const QList<ContactsStore::BookStamp>& books)
{
    ContactsStore::Contents contents;
    contents.reader = std::this_thread::get_id();
    for (const ContactsStore::BookStamp& book : books) {
        QFile file(book.path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const VCard& card : ParseVCards(file.readAll())) {
            quint32 id = fnv1a(identity(card));
            // Ids must stay unique and non-zero; stepping keeps them stable
            // as long as the files and their order do not change.
            while (id == 0 || contents.byId.contains(id))
                ++id;
            auto item = std::make_shared<const ContactItem>(id, MapContactProperties(card));
            contents.byId.insert(id, item);
            contents.items.append(std::move(item));
        }
    }
    return contents;
}

} // namespace

QString ContactItem::Property(const QString& label) const
{
    return m_properties.value(label.trimmed());
}

const ContactItem* ContactsFolder::Item(int i) const
{
    if (i < 1 || i > Count())
        return nullptr;
    return m_items.at(i - 1).get();
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
    if (m_reading.valid())
        m_reading.wait(); // its contents are dropped with the future
    m_reading = {};
    m_folder.m_items.clear();
    m_byId.clear();
    m_readStamps.clear();
    m_loggedOn = false;
}

QList<ContactsStore::BookStamp> ContactsStore::Stamps() const
{
    return addressBooks(m_device.toHost(QStringLiteral("\\Contacts")));
}

void ContactsStore::StartReading()
{
    if (m_reading.valid())
        m_reading.wait(); // an older read is out of date already
    m_readStamps = Stamps();
    m_reading = std::async(std::launch::async, readBooks, m_readStamps);
}

void ContactsStore::Settle() const
{
    if (!m_reading.valid())
        return;
    Contents contents = m_reading.get();
    m_folder.m_items = std::move(contents.items);
    m_byId = std::move(contents.byId);
    m_readerThread = contents.reader;
}

bool ContactsStore::NeedsRefresh() const
{
    if (!m_loggedOn)
        return false;
    if (m_reading.valid() && m_reading.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
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
    const auto found = m_byId.constFind(objectId);
    return found == m_byId.cend() ? nullptr : found->get();
}
