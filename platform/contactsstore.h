#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <future>
#include <memory>
#include <thread>

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

    // Starts reading the address books on a thread of their own and returns
    // at once; the first look at the contacts waits for the read. A folder
    // that is missing or unreadable gives an empty store, not a failure; a
    // card that cannot be read is skipped.
    bool LogOn();
    void LogOff();
    bool IsLoggedOn() const { return m_loggedOn; }

    // Whether Refresh would have to wait: a read is still running, or the
    // address books changed since the last read began.
    bool NeedsRefresh() const;
    // Brings the contacts up to date with the address books, waiting for the
    // read that takes. Items of the contacts read before are released.
    void Refresh();
    // The thread the last read ran on.
    std::thread::id ReaderThread() const { return m_readerThread; }

    // Nothing until logged on; both wait for a read still running.
    const ContactsFolder* DefaultContactsFolder() const;
    const ContactItem* ItemByObjectId(quint32 objectId) const;

    // What one read found.
    struct Contents {
        QList<std::shared_ptr<const ContactItem>> items;
        QHash<quint32, std::shared_ptr<const ContactItem>> byId;
        std::thread::id reader;
    };
    // The files read and how they stood when the read began.
    struct BookStamp {
        QString path;
        qint64 size = 0;
        qint64 modified = 0;
        bool operator==(const BookStamp&) const = default;
    };

private:
    QList<BookStamp> Stamps() const;
    void StartReading();
    // Takes in the contents of a finished or running read.
    void Settle() const;

    Registry& m_registry;
    const DevicePaths& m_device;
    bool m_loggedOn = false;
    QList<BookStamp> m_readStamps;
    // Only the thread that owns the store touches these; the reader thread
    // hands its contents over through the future.
    mutable std::future<Contents> m_reading;
    mutable ContactsFolder m_folder;
    mutable QHash<quint32, std::shared_ptr<const ContactItem>> m_byId;
    mutable std::thread::id m_readerThread;
};
