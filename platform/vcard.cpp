#include "platform/vcard.h"

#include "platform/ansicodepage.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

// Physical lines; CR LF, LF and a lone CR all end one.
QList<QByteArrayView> splitLines(QByteArrayView data)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(data.sliced(start, i - start));
        if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < data.size())
        lines.append(data.sliced(start));
    return lines;
}

// Where the name and parameters of a content line end: the first ':' that is
// not inside a quoted parameter value (4.0 allows ':' there, as in a LABEL).
// Scanning resumes where it stopped, so a line growing by many joined pieces
// is still scanned once.
class HeadScanner {
public:
    // The index of the colon, or -1 while the line has none yet.
    qsizetype colon(QByteArrayView line)
    {
        for (; m_colon < 0 && m_pos < line.size(); ++m_pos) {
            const char c = line[m_pos];
            if (c == '"' && (m_inQuotes || (m_pos > 0 && (line[m_pos - 1] == '=' || line[m_pos - 1] == ','))))
                m_inQuotes = !m_inQuotes;
            else if (c == ':' && !m_inQuotes)
                m_colon = m_pos;
        }
        return m_colon;
    }

    bool isQuotedPrintable(QByteArrayView line)
    {
        if (!m_quotedPrintable) {
            const qsizetype at = colon(line);
            if (at < 0)
                return false;
            m_quotedPrintable = line.first(at).toByteArray().toUpper().contains("QUOTED-PRINTABLE");
        }
        return *m_quotedPrintable;
    }

private:
    qsizetype m_pos = 0;
    qsizetype m_colon = -1;
    bool m_inQuotes = false;
    std::optional<bool> m_quotedPrintable;
};

bool isMarker(QByteArrayView line, const char* marker)
{
    return line.trimmed().compare(marker, Qt::CaseInsensitive) == 0;
}

// Some writers end a quoted-printable value with '=' and nothing after it; the
// card's end must not become part of the value.
bool isCardMarker(QByteArrayView line)
{
    return isMarker(line, "BEGIN:VCARD") || isMarker(line, "END:VCARD");
}

struct ContentLine {
    QByteArray text;
    qsizetype colon = -1;
};

// Joins the physical lines of one content line: a following line that starts
// with a blank continues it (the blank dropped), and a quoted-printable value
// ending in '=' continues on the next line whatever that starts with.
ContentLine readContentLine(const QList<QByteArrayView>& lines, qsizetype& next)
{
    ContentLine line{lines.at(next++).toByteArray(), -1};
    HeadScanner head;
    while (next < lines.size()) {
        const QByteArrayView following = lines.at(next);
        if (line.text.endsWith('=') && head.isQuotedPrintable(line.text) && !isCardMarker(following)) {
            line.text.chop(1);
            line.text.append(following);
        } else if (following.startsWith(' ') || following.startsWith('\t')) {
            line.text.append(following.sliced(1));
        } else {
            break;
        }
        ++next;
    }
    line.colon = head.colon(line.text);
    return line;
}

// Splits on sep outside double quotes (a quote opens only at the start of a value).
QList<QByteArrayView> splitOutsideQuotes(QByteArrayView text, char sep)
{
    QList<QByteArrayView> parts;
    bool inQuotes = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' && (inQuotes || i == start || text[i - 1] == '=' || text[i - 1] == ','))
            inQuotes = !inQuotes;
        else if (c == sep && !inQuotes) {
            parts.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.sliced(start));
    return parts;
}

bool isName(QByteArrayView name)
{
    if (name.isEmpty())
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

QString paramText(QByteArrayView text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        text = text.sliced(1, text.size() - 2);
    return QString::fromUtf8(text);
}

// 2.1 writes the encoding as a bare parameter as well as ENCODING=...
bool isEncodingName(const QString& upper)
{
    return upper == u"QUOTED-PRINTABLE" || upper == u"BASE64" || upper == u"8BIT" || upper == u"7BIT";
}

void parseParameter(QByteArrayView part, QHash<QString, QStringList>& parameters)
{
    part = part.trimmed();
    if (part.isEmpty())
        return;
    const qsizetype eq = part.indexOf('=');
    if (eq < 0) {
        const QString bare = paramText(part).toUpper();
        if (bare.isEmpty())
            return;
        parameters[isEncodingName(bare) ? QStringLiteral("ENCODING") : QStringLiteral("TYPE")].append(bare);
        return;
    }
    const QString name = QString::fromUtf8(part.first(eq).trimmed()).toUpper();
    if (name.isEmpty())
        return;
    QStringList& values = parameters[name];
    for (const QByteArrayView piece : splitOutsideQuotes(part.sliced(eq + 1), ',')) {
        const QString value = paramText(piece);
        if (name != u"TYPE") {
            if (!value.isEmpty())
                values.append(value);
            continue;
        }
        // TYPE="work,voice" is a list too.
        for (const QString& type : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (!type.trimmed().isEmpty())
                values.append(type.trimmed().toUpper());
        }
    }
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(QByteArrayView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int high = text[i] == '=' && i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(text[i + 2]) : -1;
        if (low >= 0) {
            bytes.append(char(high << 4 | low));
            i += 2;
        } else if (text[i] == '=' && i + 1 == text.size()) {
            break; // a soft line break with nothing after it
        } else {
            bytes.append(text[i]); // a stray '=' is kept as it is
        }
    }
    return bytes;
}

QString decodeWindows1252(QByteArrayView bytes)
{
    return DecodeAnsi(bytes.data(), bytes.size());
}

// The value's bytes as text. Without a CHARSET the bytes should be UTF-8; when
// they are not, they came from a desktop that wrote its ANSI code page.
QString decodeText(const QByteArray& bytes, const QString& charset)
{
    QString key = charset.toUpper();
    key.remove(QLatin1Char('-')).remove(QLatin1Char('_')).remove(QLatin1Char(' '));
    if (key.isEmpty() || key == u"UTF8") {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
        return key.isEmpty() ? decodeWindows1252(bytes) : text;
    }
    if (key == u"WINDOWS1252" || key == u"CP1252")
        return decodeWindows1252(bytes);
    const QByteArray name = charset.trimmed().toLatin1();
    const std::optional<QStringConverter::Encoding> encoding = QStringConverter::encodingForName(name.constData());
    if (encoding == QStringConverter::System || encoding == QStringConverter::Latin1)
        return QString::fromLatin1(bytes);
    // By name, Qt decodes every charset its ICU knows (windows-1251, KOI8-R,
    // Shift_JIS, ...), not only the few it has built in.
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    if (decoder.isValid())
        return decoder.decode(bytes);
    return QString::fromLatin1(bytes);
}

// Splits on unescaped ';' and undoes the backslash escapes in the same pass.
QStringList splitComponents(const QString& value)
{
    QStringList components;
    QString current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u';') {
            components.append(current);
            current.clear();
        } else if (c == u'\\' && i + 1 < value.size()) {
            const QChar escaped = value[++i];
            if (escaped == u'n' || escaped == u'N')
                current.append(QLatin1Char('\n'));
            else if (escaped == u',' || escaped == u';' || escaped == u':' || escaped == u'\\')
                current.append(escaped);
            else
                current.append(c).append(escaped); // not an escape: a path, say
        } else {
            current.append(c);
        }
    }
    components.append(current);
    return components;
}

std::optional<VCardProperty> parseProperty(const ContentLine& line)
{
    if (line.colon < 0)
        return std::nullopt;
    const QByteArrayView text(line.text);
    const QList<QByteArrayView> head = splitOutsideQuotes(text.first(line.colon), ';');
    const QByteArrayView fullName = head.first().trimmed();
    const qsizetype dot = fullName.lastIndexOf('.');
    const QByteArrayView group = dot >= 0 ? fullName.first(dot) : QByteArrayView();
    const QByteArrayView name = fullName.sliced(dot + 1);
    if (!isName(name) || (dot >= 0 && !isName(group)))
        return std::nullopt;

    VCardProperty property;
    property.group = QString::fromLatin1(group);
    property.name = QString::fromLatin1(name).toUpper();
    for (qsizetype i = 1; i < head.size(); ++i)
        parseParameter(head.at(i), property.parameters);

    const QString encoding = property.parameters.value(QStringLiteral("ENCODING")).value(0).toUpper();
    if (encoding == u"BASE64" || encoding == u"B")
        return std::nullopt; // pictures and sounds; nothing the contacts need
    QByteArray bytes = text.sliced(line.colon + 1).toByteArray();
    if (encoding == u"QUOTED-PRINTABLE")
        bytes = decodeQuotedPrintable(bytes);
    const QString charset = property.parameters.value(QStringLiteral("CHARSET")).value(0);
    property.components = splitComponents(decodeText(bytes, charset));
    return property;
}

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

// A copy of the card in which a grouped property carries the types of its
// group's X-ABLABEL, so that "item1.TEL" labelled "work" counts as a work number.
VCard withLabelTypes(const VCard& card)
{
    QHash<QString, QStringList> labelTypes;
    for (const VCardProperty& p : card.properties) {
        if (!p.group.isEmpty() && p.name == u"X-ABLABEL")
            labelTypes.insert(p.group.toLower(), typesOfLabel(p.value()));
    }
    if (labelTypes.isEmpty())
        return card;
    VCard labelled = card;
    for (VCardProperty& p : labelled.properties) {
        for (const QString& type : labelTypes.value(p.group.toLower())) {
            if (!p.group.isEmpty() && !p.hasType(type))
                p.parameters[QStringLiteral("TYPE")].append(type);
        }
    }
    return labelled;
}

bool isUsable(const VCard& card)
{
    return std::any_of(card.properties.begin(), card.properties.end(), [](const VCardProperty& p) {
        return p.name != u"VERSION" && !p.value().trimmed().isEmpty();
    });
}

} // namespace

bool VCardProperty::hasType(const QString& type) const
{
    return parameters.value(QStringLiteral("TYPE")).contains(type, Qt::CaseInsensitive);
}

int VCardProperty::preference() const
{
    bool ok = false;
    const int pref = parameters.value(QStringLiteral("PREF")).value(0).trimmed().toInt(&ok);
    if (ok)
        return std::clamp(pref, 1, 100);
    return hasType(QStringLiteral("PREF")) ? 1 : 100;
}

QList<const VCardProperty*> VCard::all(const QString& name) const
{
    QList<const VCardProperty*> found;
    for (const VCardProperty& p : properties) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            found.append(&p);
    }
    return found;
}

const VCardProperty* VCard::first(const QString& name) const
{
    for (const VCardProperty& p : properties) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

QList<VCard> ParseVCards(const QByteArray& input)
{
    QByteArray data = input;
    // Some desktops save address books as UTF-16 with a byte order mark.
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16);
        const QString text = utf16.decode(data);
        data = text.toUtf8();
    }
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);

    const QList<QByteArrayView> lines = splitLines(data);
    QList<VCard> cards;
    std::optional<VCard> card;
    auto close = [&] {
        if (card && isUsable(*card))
            cards.append(std::move(*card));
        card.reset();
    };
    for (qsizetype next = 0; next < lines.size();) {
        const ContentLine line = readContentLine(lines, next);
        if (isMarker(line.text, "BEGIN:VCARD")) {
            close(); // a card left open ends where the next begins
            card.emplace();
        } else if (isMarker(line.text, "END:VCARD")) {
            close();
        } else if (card) {
            std::optional<VCardProperty> property = parseProperty(line);
            if (property && property->name != u"BEGIN" && property->name != u"END")
                card->properties.append(std::move(*property));
        }
    }
    close();
    return cards;
}

QHash<QString, QString> MapContactProperties(const VCard& labelless)
{
    const VCard card = withLabelTypes(labelless);
    QHash<QString, QString> mapped;
    // The first value offered for a label wins; blank values are not offered.
    auto put = [&mapped](const char* label, const QString& value) {
        const QString trimmed = value.trimmed();
        const QString key = QString::fromLatin1(label);
        if (!trimmed.isEmpty() && !mapped.contains(key))
            mapped.insert(key, trimmed);
    };
    auto putComponents = [&put](const VCardProperty* p, qsizetype from, std::initializer_list<const char*> labels) {
        for (const char* label : labels) {
            if (p)
                put(label, p->components.value(from));
            ++from;
        }
    };

    putComponents(card.first(QStringLiteral("N")), 0, {"Last Name", "First Name", "Middle Name", "Title", "Suffix"});
    // Without a structured name (it is optional since 4.0) the formatted one
    // names the contact, whole: splitting it would guess wrong as often as
    // right. A company's own card, whose FN is the company, has no name.
    const QString fullName = card.first(QStringLiteral("FN")) ? card.first(QStringLiteral("FN"))->value().trimmed() : QString();
    const VCardProperty* org = card.first(QStringLiteral("ORG"));
    const VCardProperty* kind = card.first(QStringLiteral("KIND"));
    const bool isOrganisation = (kind && kind->value().trimmed().compare(QLatin1String("org"), Qt::CaseInsensitive) == 0)
        || (org && org->components.value(0).trimmed() == fullName);
    if (!mapped.contains(QStringLiteral("Last Name")) && !mapped.contains(QStringLiteral("First Name")) && !isOrganisation)
        put("Last Name", fullName);
    if (const VCardProperty* title = card.first(QStringLiteral("TITLE")))
        put("Job Title", title->value());
    if (const VCardProperty* office = card.first(QStringLiteral("X-EVOLUTION-OFFICE")))
        put("Office Loc", office->value());
    putComponents(org, 0, {"Company", "Department", "Office Loc"});

    QList<const VCardProperty*> emails = card.all(QStringLiteral("EMAIL"));
    std::stable_sort(emails.begin(), emails.end(),
                     [](const VCardProperty* a, const VCardProperty* b) { return a->preference() < b->preference(); });
    QStringList addresses;
    for (const VCardProperty* email : emails) {
        if (!email->value().trimmed().isEmpty())
            addresses.append(email->value());
    }
    put("Email", addresses.value(0));
    put("Email2", addresses.value(1));
    put("Email3", addresses.value(2));

    const QList<const VCardProperty*> tels = card.all(QStringLiteral("TEL"));
    auto has = [](const VCardProperty* p, std::initializer_list<const char*> types) {
        return std::any_of(types.begin(), types.end(), [p](const char* t) { return p->hasType(QString::fromLatin1(t)); });
    };
    // Fills the labels, in order, with the numbers whose types pass the test.
    auto putTels = [&](std::initializer_list<const char*> labels, const std::function<bool(const VCardProperty*)>& test) {
        auto label = labels.begin();
        for (const VCardProperty* tel : tels) {
            while (label != labels.end() && mapped.contains(QString::fromLatin1(*label)))
                ++label; // taken by a number of a stronger kind
            if (label == labels.end())
                return;
            QString number = tel->value().trimmed();
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                number = number.sliced(4); // 4.0 may write numbers as URIs
            if (!number.isEmpty() && test(tel))
                put(*label++, number);
        }
    };
    putTels({"Work Tel", "Work2 Tel"}, [&](auto t) { return has(t, {"WORK"}) && !has(t, {"FAX", "CELL", "PAGER", "CAR"}); });
    putTels({"Work Fax"}, [&](auto t) { return has(t, {"FAX"}) && (has(t, {"WORK"}) || !has(t, {"HOME"})); });
    putTels({"Mobile Tel"}, [&](auto t) { return has(t, {"CELL"}); });
    putTels({"Pager"}, [&](auto t) { return has(t, {"PAGER"}); });
    putTels({"Home Tel", "Home2 Tel"}, [&](auto t) { return has(t, {"HOME"}) && !has(t, {"FAX"}); });
    putTels({"Home Fax"}, [&](auto t) { return has(t, {"HOME"}) && has(t, {"FAX"}); });
    putTels({"Car Tel"}, [&](auto t) { return has(t, {"CAR"}); });
    putTels({"Radio Tel"}, [&](auto t) { return has(t, {"X-EVOLUTION-RADIO", "X-RADIO"}); });
    putTels({"Assistant Tel"}, [&](auto t) { return has(t, {"X-EVOLUTION-ASSISTANT", "X-ASSISTANT"}); });
    // A number that says nothing of where it rings (no type, or only VOICE,
    // MAIN, OTHER) is still the contact's phone: it takes a free work slot,
    // the first thing a minute's reader looks for.
    putTels({"Work Tel", "Work2 Tel"}, [&](const VCardProperty* t) {
        const QStringList types = t->parameters.value(QStringLiteral("TYPE"));
        return std::all_of(types.begin(), types.end(), [](const QString& type) {
            return type == u"VOICE" || type == u"MAIN" || type == u"OTHER" || type == u"PREF";
        });
    });

    const QList<const VCardProperty*> urls = card.all(QStringLiteral("URL"));
    for (const VCardProperty* url : urls) {
        if (url->hasType(QStringLiteral("WORK")))
            put("Web Page", url->value());
    }
    for (const VCardProperty* url : urls)
        put("Web Page", url->value());

    for (const char* name : {"X-EVOLUTION-ASSISTANT", "X-ASSISTANT"}) {
        if (const VCardProperty* assistant = card.first(QString::fromLatin1(name)))
            put("Assistant", assistant->value());
    }
    for (const VCardProperty* related : card.all(QStringLiteral("RELATED"))) {
        if (related->hasType(QStringLiteral("AGENT")))
            put("Assistant", related->value());
    }
    for (const VCardProperty* related : card.all(QStringLiteral("X-ABRELATEDNAMES"))) {
        if (related->hasType(QStringLiteral("X-ASSISTANT")))
            put("Assistant", related->value());
    }

    for (const VCardProperty* adr : card.all(QStringLiteral("ADR"))) {
        if (adr->hasType(QStringLiteral("WORK"))) {
            putComponents(adr, 2, {"Business Street", "Business City", "Business State/Region", "Business Zip/Postal Code",
                                   "Business Country"});
            break;
        }
    }

    for (const VCardProperty* note : card.all(QStringLiteral("NOTE"))) {
        QString text = note->value().trimmed();
        text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        put("Notes", text.replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    }
    return mapped;
}
