#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class DevicePaths;
class Registry;

// One contact as the contacts store serves it: a stable object identifier
// and string properties addressed by their labels.
class ContactItem {
public:
    ContactItem(quint32 objectId, QHash<QString, QString> properties)
        : m_objectId(objectId)
        , m_properties(std::move(properties))
    {
    }

    quint32 ObjectId() const { return m_objectId; }
    // The property with this label (surrounding blanks ignored); empty when the contact has none.
    QString Property(const QString& label) const;

private:
    quint32 m_objectId;
    QHash<QString, QString> m_properties;
};

// The folder of contacts the store offers by default.
class ContactsFolder {
public:
    int Count() const { return int(m_items.size()); }
    // Items are numbered from 1; nullptr for any other number.
    const ContactItem* Item(int i) const;

private:
    friend class ContactsStore;
    QList<std::shared_ptr<const ContactItem>> m_items;
};

// The handheld's contacts store, played by the vCard files (.vcf; versions
// 2.1, 3.0 and 4.0) in the device folder \Contacts. It offers the operations
// the contacts feature uses, in the order it uses them.
class ContactsStore {
public:
    // The 31 properties, bit i of the property set being row i.
    static const QStringList& PropertyLabels();
    // The identifier the store registers its application object under.
    static QString ProgId() { return QStringLiteral("PocketOutlook.Application"); }

    ContactsStore(Registry& registry, const DevicePaths& device);
    ~ContactsStore();

    // Whether the store is registered under HKEY_CLASSES_ROOT.
    bool IsRegistered() const;
    // The store registering itself; false when the registry refused.
    bool Register();

    // Reads the address books. A folder that is missing or unreadable gives
    // an empty store, not a failure; a card that cannot be read is skipped.
    bool LogOn();
    void LogOff();
    bool IsLoggedOn() const { return m_loggedOn; }

    // Nothing until logged on.
    const ContactsFolder* DefaultContactsFolder() const;
    const ContactItem* ItemByObjectId(quint32 objectId) const;

private:
    Registry& m_registry;
    const DevicePaths& m_device;
    bool m_loggedOn = false;
    ContactsFolder m_folder;
    QHash<quint32, std::shared_ptr<const ContactItem>> m_byId;
};
