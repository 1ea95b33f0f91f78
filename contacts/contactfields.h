#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The 31 contact properties; row i is bit i of "RequiredContactProps".
const QStringList& ContactFieldNames();

// How a property is written into a contact's line.
struct ContactField {
    QString label;
    bool labelled;     // "label: value" rather than the bare value
    QString separator; // written before it when the line already has text
};
const ContactField& ContactFieldAt(int bit);

// The order properties are written in: bits 0 to 17, 19 to 24, 18, 25 to 30.
const QList<int>& ContactFieldOrder();

// Builds the text for ticked contacts: one line per contact, holding the
// chosen properties that have a value, each line ending in CR LF.
class ContactTextBuilder {
public:
    explicit ContactTextBuilder(quint32 requiredProps) : m_dwRequiredProps(requiredProps) {}

    // Appends one contact's line; property gives the value of a bit's property.
    void AppendContactLine(const std::function<QString(int bit)>& property);
    QString Result() const { return m_strResult; }

    // The bare value, after the separator unless the text is empty or a line has just begun.
    void AppendValue(QString& target, const QString& value, const QString& separator);
    // "label: value", after ", " on the same terms.
    void AppendLabelledValue(QString& target, const QString& label, const QString& value);

    // The text a contact is listed by: last, first, middle name, title,
    // suffix, company, job title and department.
    static QString DisplayText(const std::function<QString(const QString& label)>& property);

private:
    QString m_strResult;
    bool m_bLineStart = false;
    quint32 m_dwRequiredProps;
};
