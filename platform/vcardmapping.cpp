// How a card's properties become the 31 contact properties.

#include "platform/vcard.h"

#include "platform/contactsstore.h"

#include <algorithm>
#include <functional>

namespace {

// The types an address book label stands for. Labels come as Apple's
// "_$!<HomeFAX>!$_" for its own names and as typed text for the user's.
QStringList typesOfLabel(QString label)
{
    label = label.trimmed();
    if (label.startsWith(QLatin1String("_$!<")) && label.endsWith(QLatin1String(">!$_")))
        label = label.sliced(4, label.size() - 8);
    label = label.toLower().remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
    static const QHash<QString, QStringList> kTypes = {
        {QStringLiteral("work"), {QStringLiteral("WORK")}},
        {QStringLiteral("business"), {QStringLiteral("WORK")}},
        {QStringLiteral("office"), {QStringLiteral("WORK")}},
        {QStringLiteral("home"), {QStringLiteral("HOME")}},
        {QStringLiteral("private"), {QStringLiteral("HOME")}},
        {QStringLiteral("mobile"), {QStringLiteral("CELL")}},
        {QStringLiteral("cell"), {QStringLiteral("CELL")}},
        {QStringLiteral("iphone"), {QStringLiteral("CELL")}},
        {QStringLiteral("workmobile"), {QStringLiteral("WORK"), QStringLiteral("CELL")}},
        {QStringLiteral("main"), {QStringLiteral("MAIN")}},
        {QStringLiteral("fax"), {QStringLiteral("FAX")}},
        {QStringLiteral("otherfax"), {QStringLiteral("FAX")}},
        {QStringLiteral("workfax"), {QStringLiteral("WORK"), QStringLiteral("FAX")}},
        {QStringLiteral("homefax"), {QStringLiteral("HOME"), QStringLiteral("FAX")}},
        {QStringLiteral("pager"), {QStringLiteral("PAGER")}},
        {QStringLiteral("car"), {QStringLiteral("CAR")}},
        {QStringLiteral("radio"), {QStringLiteral("X-RADIO")}},
        {QStringLiteral("assistant"), {QStringLiteral("X-ASSISTANT")}},
    };
    return kTypes.value(label);
}

// Gives a grouped property the types of its group's X-ABLABEL, so that
// "item1.TEL" labelled "work" counts as a work number.
void applyLabelTypes(VCard& card)
{
    QHash<QString, QStringList> labelTypes;
    for (const VCardProperty& p : card.properties) {
        if (!p.group.isEmpty() && p.name == u"X-ABLABEL")
            labelTypes.insert(p.group.toLower(), typesOfLabel(p.value()));
    }
    if (labelTypes.isEmpty())
        return;
    for (VCardProperty& p : card.properties) {
        if (p.group.isEmpty())
            continue;
        for (const QString& type : labelTypes.value(p.group.toLower())) {
            if (!p.hasType(type))
                p.parameters[QStringLiteral("TYPE")].append(type);
        }
    }
}

bool hasText(const VCardProperty& p)
{
    return !p.value().trimmed().isEmpty();
}

} // namespace

ContactValues MapContactValues(VCard card)
{
    namespace P = ContactProp;
    applyLabelTypes(card);
    ContactValues mapped;
    // The first value offered for a property wins; blank values are not offered.
    auto put = [&mapped](int prop, const QString& value) {
        if (mapped[prop].isEmpty())
            mapped[prop] = value.trimmed();
    };
    auto putComponents = [&put](const VCardProperty* p, qsizetype from, std::initializer_list<int> props) {
        for (const int prop : props) {
            if (p)
                put(prop, p->components.value(from));
            ++from;
        }
    };

    putComponents(card.first(u"N"), 0, {P::LastName, P::FirstName, P::MiddleName, P::Title, P::Suffix});
    // Without a structured name (it is optional since 4.0) the formatted one
    // names the contact, whole: splitting it would guess wrong as often as
    // right. A company's own card, whose FN is the company, has no name.
    const VCardProperty* fn = card.first(u"FN");
    const QString fullName = fn ? fn->value().trimmed() : QString();
    const VCardProperty* org = card.first(u"ORG");
    const VCardProperty* kind = card.first(u"KIND");
    const bool isOrganisation = (kind && kind->value().trimmed().compare(QLatin1String("org"), Qt::CaseInsensitive) == 0)
        || (org && org->components.value(0).trimmed() == fullName);
    if (mapped[P::LastName].isEmpty() && mapped[P::FirstName].isEmpty() && !isOrganisation)
        put(P::LastName, fullName);
    if (const VCardProperty* title = card.first(u"TITLE"))
        put(P::JobTitle, title->value());
    if (const VCardProperty* office = card.first(u"X-EVOLUTION-OFFICE"))
        put(P::OfficeLoc, office->value());
    putComponents(org, 0, {P::Company, P::Department, P::OfficeLoc});

    QList<const VCardProperty*> emails = card.all(u"EMAIL");
    std::stable_sort(emails.begin(), emails.end(),
                     [](const VCardProperty* a, const VCardProperty* b) { return a->preference() < b->preference(); });
    QStringList addresses;
    for (const VCardProperty* email : emails) {
        if (hasText(*email))
            addresses.append(email->value());
    }
    put(P::Email, addresses.value(0));
    put(P::Email2, addresses.value(1));
    put(P::Email3, addresses.value(2));

    const QList<const VCardProperty*> tels = card.all(u"TEL");
    auto has = [](const VCardProperty* p, std::initializer_list<QStringView> types) {
        return std::any_of(types.begin(), types.end(), [p](QStringView t) { return p->hasType(t); });
    };
    // Fills the properties, in order, with the numbers whose types pass the test.
    auto putTels = [&](std::initializer_list<int> props, const std::function<bool(const VCardProperty*)>& test) {
        auto prop = props.begin();
        for (const VCardProperty* tel : tels) {
            while (prop != props.end() && !mapped[*prop].isEmpty())
                ++prop; // taken by a number of a stronger kind
            if (prop == props.end())
                return;
            QString number = tel->value().trimmed();
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.sliced(4); // 4.0 may write numbers as URIs
            if (!number.isEmpty() && test(tel))
                put(*prop++, number);
        }
    };
    putTels({P::WorkTel, P::Work2Tel}, [&](auto t) { return has(t, {u"WORK"}) && !has(t, {u"FAX", u"CELL", u"PAGER", u"CAR"}); });
    putTels({P::WorkFax}, [&](auto t) { return has(t, {u"FAX"}) && (has(t, {u"WORK"}) || !has(t, {u"HOME"})); });
    putTels({P::MobileTel}, [&](auto t) { return has(t, {u"CELL"}); });
    putTels({P::Pager}, [&](auto t) { return has(t, {u"PAGER"}); });
    putTels({P::HomeTel, P::Home2Tel}, [&](auto t) { return has(t, {u"HOME"}) && !has(t, {u"FAX"}); });
    putTels({P::HomeFax}, [&](auto t) { return has(t, {u"HOME"}) && has(t, {u"FAX"}); });
    putTels({P::CarTel}, [&](auto t) { return has(t, {u"CAR"}); });
    putTels({P::RadioTel}, [&](auto t) { return has(t, {u"X-EVOLUTION-RADIO", u"X-RADIO"}); });
    putTels({P::AssistantTel}, [&](auto t) { return has(t, {u"X-EVOLUTION-ASSISTANT", u"X-ASSISTANT"}); });
    // A number that says nothing of where it rings (no type, or only VOICE,
    // MAIN, OTHER) is still the contact's phone: it takes a free work slot,
    // the first thing a minute's reader looks for.
    putTels({P::WorkTel, P::Work2Tel}, [&](const VCardProperty* t) {
        const QStringList types = t->parameters.value(u"TYPE");
        return std::all_of(types.begin(), types.end(), [](const QString& type) {
            return type == u"VOICE" || type == u"MAIN" || type == u"OTHER" || type == u"PREF";
        });
    });

    const QList<const VCardProperty*> urls = card.all(u"URL");
    for (const VCardProperty* url : urls) {
        if (url->hasType(u"WORK"))
            put(P::WebPage, url->value());
    }
    for (const VCardProperty* url : urls)
        put(P::WebPage, url->value());

    for (QStringView name : {u"X-EVOLUTION-ASSISTANT", u"X-ASSISTANT"}) {
        if (const VCardProperty* assistant = card.first(name))
            put(P::Assistant, assistant->value());
    }
    for (const VCardProperty* related : card.all(u"RELATED")) {
        if (related->hasType(u"AGENT"))
            put(P::Assistant, related->value());
    }
    for (const VCardProperty* related : card.all(u"X-ABRELATEDNAMES")) {
        if (related->hasType(u"X-ASSISTANT"))
            put(P::Assistant, related->value());
    }

    for (const VCardProperty* adr : card.all(u"ADR")) {
        if (adr->hasType(u"WORK")) {
            putComponents(adr, 2, {P::BusinessStreet, P::BusinessCity, P::BusinessState, P::BusinessZip, P::BusinessCountry});
            break;
        }
    }

    for (const VCardProperty* note : card.all(u"NOTE")) {
        QString text = note->value().trimmed();
        text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        put(P::Notes, text.replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    }
    return mapped;
}

QHash<QString, QString> MapContactProperties(const VCard& card)
{
    const ContactValues values = MapContactValues(card);
    const QStringList& labels = ContactsStore::PropertyLabels();
    QHash<QString, QString> mapped;
    for (int i = 0; i < ContactProp::Count; ++i) {
        if (!values[i].isEmpty())
            mapped.insert(labels[i].trimmed(), values[i]);
    }
    return mapped;
}
