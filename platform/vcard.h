#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One content line of a vCard, decoded: group and name, parameters, and the
// value split into its components (on unescaped ';') and unescaped.
struct VCardProperty {
    QString group;                          // "item1" of item1.TEL, or empty
    QString name;                           // upper case: "TEL"
    QHash<QString, QStringList> parameters; // upper-case names; TYPE values upper case
    QStringList components;                 // the value, split and unescaped

    QString value() const { return components.join(QLatin1Char(';')); }
    // Whether TYPE (or a bare 2.1 parameter) includes this type, ignoring case.
    bool hasType(const QString& type) const;
    // The PREF parameter (or TYPE=PREF): lower is preferred; 100 when absent.
    int preference() const;
};

struct VCard {
    QList<VCardProperty> properties;

    QList<const VCardProperty*> all(const QString& name) const;
    const VCardProperty* first(const QString& name) const;
};

// Reads every card in the text (UTF-8, or the charset a property names):
// folded lines, groups, vCard 2.1 bare parameters and QUOTED-PRINTABLE soft
// line breaks, 3.0 and 4.0 parameters and escapes. Cards that cannot be read
// are skipped; the others are kept.
QList<VCard> ParseVCards(const QByteArray& data);

// The 31 contact properties of a card, by label (see ContactsStore::PropertyLabels).
QHash<QString, QString> MapContactProperties(const VCard& card);
