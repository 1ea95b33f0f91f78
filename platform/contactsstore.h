#pragma once

#include "platform/vcard.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

class DevicePaths;
class Registry;

// One contact as the contacts store serves it: a stable object identifier
// and the 31 contact properties. Address books run to tens of thousands of
// contacts, so the values are kept one after another in a single string.
class ContactItem {
public:
    ContactItem(quint32 objectId, const ContactValues& values);

    quint32 ObjectId() const { return m_objectId; }
    // The property with this label (surrounding blanks ignored); empty when the contact has none.
    QString Property(const QString& label) const;
    // The property numbered as in ContactsStore::PropertyLabels; empty for any other number.
    QString Value(int prop) const;

private:
    quint32 m_objectId;
    std::array<quint32, ContactProp::Count> m_ends{}; // where each value ends in m_text
    QString m_text;
};

// What one read of the address books found; never changed once read.
struct ContactsSnapshot {
    std::vector<ContactItem> items;
    // (object id, index into items), sorted by id.
    std::vector<std::pair<quint32, quint32>> byId;
    std::thread::id reader;

    const ContactItem* ItemByObjectId(quint32 objectId) const;
};

// The folder of contacts the store offers by default.
class ContactsFolder {
public:
    int Count() const { return m_contents ? int(m_contents->items.size()) : 0; }
    // Items are numbered from 1; nullptr for any other number.
    const ContactItem* Item(int i) const;

private:
    friend class ContactsStore;
    std::shared_ptr<const ContactsSnapshot> m_contents;
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
    ContactsStore(const ContactsStore&) = delete;
    ContactsStore& operator=(const ContactsStore&) = delete;

    // Whether the store is registered under HKEY_CLASSES_ROOT.
    bool IsRegistered() const;
    // The store registering itself; false when the registry refused.
    bool Register();

    // Starts reading the address books on a thread of their own and returns
    // at once; the first look at the contacts waits for the read. A folder
    // that is missing or unreadable gives an empty store, not a failure; a
    // card that cannot be read is skipped.
    bool LogOn();
    // Abandons a read still running.
    void LogOff();
    bool IsLoggedOn() const { return m_loggedOn; }

    // Whether Refresh would have to wait: a read is still running, or the
    // address books changed since the last read began.
    bool NeedsRefresh() const;
    // Brings the contacts up to date with the address books, waiting for the
    // read that takes. Items of the contacts read before are released.
    void Refresh();
    // The thread the last read ran on.
    std::thread::id ReaderThread() const { return m_folder.m_contents ? m_folder.m_contents->reader : std::thread::id(); }

    // Nothing until logged on; both wait for a read still running.
    const ContactsFolder* DefaultContactsFolder() const;
    const ContactItem* ItemByObjectId(quint32 objectId) const;

    // How one address book stood when a read began.
    struct BookStamp {
        QString path;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        quint64 inode = 0; // a book replaced whole, keeping size and time
        bool operator==(const BookStamp&) const = default;
    };

private:
    struct Reader;

    QList<BookStamp> Stamps() const;
    void StartReading();
    void StopReading();
    // Takes in the contents of a finished or running read, waiting for it.
    void Settle() const;

    Registry& m_registry;
    const DevicePaths& m_device;
    bool m_loggedOn = false;
    QList<BookStamp> m_readStamps;
    // The reader thread fills a snapshot of its own; only after it has ended
    // does the owning thread swap that snapshot in, in one step.
    mutable std::unique_ptr<Reader> m_reader;
    mutable ContactsFolder m_folder;
};
