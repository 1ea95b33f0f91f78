// Feeds arbitrary bytes to the vCard reader and maps every card it keeps.
// What it keeps must hold something, and the mapping may only give known
// labels with trimmed, non-empty values.

#include "platform/contactsstore.h"
#include "platform/vcard.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QStringList labels = [] {
        QStringList trimmed;
        for (const QString& label : ContactsStore::PropertyLabels())
            trimmed.append(label.trimmed());
        return trimmed;
    }();

    const QList<VCard> cards = ParseVCards(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const VCard& card : cards) {
        if (card.properties.isEmpty())
            std::abort();
        for (const VCardProperty& property : card.properties) {
            if (property.name.isEmpty() || property.name != property.name.toUpper() || property.components.isEmpty())
                std::abort();
        }
        const QHash<QString, QString> mapped = MapContactProperties(card);
        for (auto it = mapped.cbegin(); it != mapped.cend(); ++it) {
            if (!labels.contains(it.key()) || it.value().isEmpty() || it.value() != it.value().trimmed())
                std::abort();
        }
    }
    return 0;
}
