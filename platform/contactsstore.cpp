#include "platform/contactsstore.h"

#include "platform/devicepaths.h"
#include "platform/registry.h"
#include "platform/vcard.h"

#include <QDir>
#include <QFile>
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

QStringList addressBooks(const QString& folder)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Readable);
    QStringList paths;
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive))
            paths.append(entry.filePath());
    }
    // The same order on every host, whatever its locale.
    std::sort(paths.begin(), paths.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return paths;
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
    for (const QString& path : addressBooks(m_device.toHost(QStringLiteral("\\Contacts")))) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const VCard& card : ParseVCards(file.readAll())) {
            quint32 id = fnv1a(identity(card));
            // Ids must stay unique and non-zero; stepping keeps them stable
            // as long as the files and their order do not change.
            while (id == 0 || m_byId.contains(id))
                ++id;
            auto item = std::make_shared<const ContactItem>(id, MapContactProperties(card));
            m_byId.insert(id, item);
            m_folder.m_items.append(std::move(item));
        }
    }
    m_loggedOn = true;
    return true;
}

void ContactsStore::LogOff()
{
    m_folder.m_items.clear();
    m_byId.clear();
    m_loggedOn = false;
}

const ContactsFolder* ContactsStore::DefaultContactsFolder() const
{
    return m_loggedOn ? &m_folder : nullptr;
}

const ContactItem* ContactsStore::ItemByObjectId(quint32 objectId) const
{
    if (!m_loggedOn)
        return nullptr;
    const auto found = m_byId.constFind(objectId);
    return found == m_byId.cend() ? nullptr : found->get();
}
