#include "contacts/contactfields.h"

#include "platform/contactsstore.h"

#include <QList>

const QStringList& ContactFieldNames()
{
    return ContactsStore::PropertyLabels();
}

const ContactField& ContactFieldAt(int bit)
{
    static const QList<ContactField> fields = [] {
        const QStringList& labels = ContactFieldNames();
        // Bits written bare, and their separators; every other is labelled after ", ".
        const QList<int> bare = {0, 1, 2, 3, 4, 7, 18, 20, 24, 25, 26, 27, 28, 29};
        QList<ContactField> result;
        for (int i = 0; i < labels.size(); ++i) {
            QString separator = QStringLiteral(", ");
            if (i == 0 || i == 2 || i == 3 || i == 4)
                separator = QStringLiteral(" ");
            result.append({labels[i], !bare.contains(i), separator});
        }
        return result;
    }();
    return fields[bit];
}

const QList<int>& ContactFieldOrder()
{
    static const QList<int> order = [] {
        QList<int> bits;
        for (int i = 0; i <= 17; ++i)
            bits.append(i);
        for (int i = 19; i <= 24; ++i)
            bits.append(i);
        bits.append(18);
        for (int i = 25; i <= 30; ++i)
            bits.append(i);
        return bits;
    }();
    return order;
}

void ContactTextBuilder::AppendValue(QString& target, const QString& value, const QString& separator)
{
    if (value.isEmpty())
        return;
    // The first value of a line has no separator in front of it.
    if (!target.isEmpty()) {
        if (m_bLineStart)
            m_bLineStart = false;
        else
            target += separator;
    }
    target += value;
}

void ContactTextBuilder::AppendLabelledValue(QString& target, const QString& label, const QString& value)
{
    if (!value.isEmpty())
        AppendValue(target, label + QStringLiteral(": ") + value, QStringLiteral(", "));
}

void ContactTextBuilder::AppendContactLine(const std::function<QString(int bit)>& property)
{
    for (const int bit : ContactFieldOrder()) {
        if (!((m_dwRequiredProps >> bit) & 1u))
            continue;
        const ContactField& field = ContactFieldAt(bit);
        if (field.labelled)
            AppendLabelledValue(m_strResult, field.label, property(bit));
        else
            AppendValue(m_strResult, property(bit), field.separator);
    }
    m_strResult += QStringLiteral("\r\n");
    m_bLineStart = true;
}

QString ContactTextBuilder::DisplayText(const std::function<QString(const QString& label)>& property)
{
    static const std::pair<const char*, const char*> kParts[] = {
        {"Last Name", " "}, {"First Name", ", "}, {"Middle Name", " "}, {"Title", " "},
        {"Suffix", " "},    {"Company", ", "},    {"Job Title", ", "},  {"Department", ", "},
    };
    ContactTextBuilder builder(0);
    QString text;
    for (const auto& [label, separator] : kParts)
        builder.AppendValue(text, property(QString::fromLatin1(label)), QString::fromLatin1(separator));
    return text;
}
