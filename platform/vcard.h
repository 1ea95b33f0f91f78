#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <utility>

// A property's parameters in the order first met, names upper case. A
// property has a handful at most, so a short list serves where a hash table
// would cost an allocation per property.
class VCardParameters {
public:
    // The values of the parameter; empty when the property has none.
    QStringList value(QStringView name) const;
    const QStringList* find(QStringView name) const;
    bool contains(QStringView name) const { return find(name) != nullptr; }
    void insert(const QString& name, const QStringList& values);
    // The parameter's values, added empty when missing.
    QStringList& operator[](const QString& name);

private:
    QList<std::pair<QString, QStringList>> m_entries;
};

// One content line of a vCard, decoded: group and name, parameters, and the
// value split into its components (on unescaped ';') and unescaped.
struct VCardProperty {
    QString group;              // "item1" of item1.TEL, or empty
    QString name;               // upper case: "TEL"
    VCardParameters parameters; // TYPE values upper case
    QStringList components;     // the value, split and unescaped

    QString value() const { return components.join(QLatin1Char(';')); }
    // Whether TYPE (or a bare 2.1 parameter) includes this type, ignoring case.
    bool hasType(QStringView type) const;
    // The PREF parameter (or TYPE=PREF): lower is preferred; 100 when absent.
    int preference() const;
};

struct VCard {
    QList<VCardProperty> properties;

    QList<const VCardProperty*> all(QStringView name) const;
    const VCardProperty* first(QStringView name) const;
};

// Reads every card in the text (UTF-8, or the charset a property names):
// folded lines, groups, vCard 2.1 bare parameters and QUOTED-PRINTABLE soft
// line breaks, 3.0 and 4.0 parameters and escapes. Cards that cannot be read
// are skipped; the others are kept.
QList<VCard> ParseVCards(const QByteArray& data);
// The same reading, handing each card over as soon as it ends, so that only
// one card is held at a time; take may consume the card, and stops the
// reading by returning false.
void ReadVCards(const QByteArray& data, const std::function<bool(VCard& card)>& take);

// The 31 contact properties by number, in the order of ContactsStore::PropertyLabels.
namespace ContactProp {
enum : int {
    LastName, FirstName, MiddleName, Suffix, Title, JobTitle, Department, Company,
    Email, Email2, Email3, WorkTel, Work2Tel, WorkFax, MobileTel, Pager, HomeTel, Home2Tel, HomeFax, CarTel,
    WebPage, RadioTel, Assistant, AssistantTel, OfficeLoc,
    BusinessStreet, BusinessCity, BusinessState, BusinessZip, BusinessCountry, Notes,
    Count
};
} // namespace ContactProp
// A card's contact properties by number; empty where the card has none.
using ContactValues = std::array<QString, ContactProp::Count>;

ContactValues MapContactValues(VCard card);
// The same by label (see ContactsStore::PropertyLabels), only those with a value.
QHash<QString, QString> MapContactProperties(const VCard& card);
