#include "platform/vcard.h"

#include "platform/ansicodepage.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

// The physical lines of the data, one at a time; CR LF, LF and a lone CR
// all end one.
class LineReader {
public:
    explicit LineReader(QByteArrayView data) : m_data(data) { advance(); }

    bool atEnd() const { return m_atEnd; }
    QByteArrayView current() const { return m_line; }
    void advance()
    {
        if (m_pos >= m_data.size()) {
            m_atEnd = true;
            m_line = {};
            return;
        }
        qsizetype end = m_pos;
        while (end < m_data.size() && m_data[end] != '\r' && m_data[end] != '\n')
            ++end;
        m_line = m_data.sliced(m_pos, end - m_pos);
        if (end < m_data.size() && m_data[end] == '\r' && end + 1 < m_data.size() && m_data[end + 1] == '\n')
            ++end;
        m_pos = end + 1;
    }

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
    QByteArrayView m_line;
    bool m_atEnd = false;
};

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

// One content line: a view of its physical line, or of the joined text when
// it continues over several.
struct ContentLine {
    QByteArrayView text;
    qsizetype colon = -1;
    QByteArray joined;

    void append(QByteArrayView more, bool chopLast)
    {
        if (joined.isEmpty())
            joined = text.toByteArray();
        if (chopLast)
            joined.chop(1);
        joined.append(more);
        text = joined; // the append may have moved the bytes
    }
};

// Joins the physical lines of one content line: a following line that starts
// with a blank continues it (the blank dropped), and a quoted-printable value
// ending in '=' continues on the next line whatever that starts with.
void readContentLine(LineReader& lines, ContentLine& line)
{
    line.joined.clear();
    line.text = lines.current();
    lines.advance();
    HeadScanner head;
    for (; !lines.atEnd(); lines.advance()) {
        const QByteArrayView following = lines.current();
        if (line.text.endsWith('=') && head.isQuotedPrintable(line.text) && !isCardMarker(following))
            line.append(following, true);
        else if (following.startsWith(' ') || following.startsWith('\t'))
            line.append(following.sliced(1), false);
        else
            break;
    }
    line.colon = head.colon(line.text);
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

void parseParameter(QByteArrayView part, VCardParameters& parameters)
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

    const QString encoding = property.parameters.value(u"ENCODING").value(0).toUpper();
    if (encoding == u"BASE64" || encoding == u"B")
        return std::nullopt; // pictures and sounds; nothing the contacts need
    QByteArray bytes = text.sliced(line.colon + 1).toByteArray();
    if (encoding == u"QUOTED-PRINTABLE")
        bytes = decodeQuotedPrintable(bytes);
    const QString charset = property.parameters.value(u"CHARSET").value(0);
    property.components = splitComponents(decodeText(bytes, charset));
    return property;
}

bool isUsable(const VCard& card)
{
    return std::any_of(card.properties.begin(), card.properties.end(),
                       [](const VCardProperty& p) { return p.name != u"VERSION" && !p.value().trimmed().isEmpty(); });
}

} // namespace

QStringList VCardParameters::value(QStringView name) const
{
    const QStringList* values = find(name);
    return values ? *values : QStringList();
}

const QStringList* VCardParameters::find(QStringView name) const
{
    for (const auto& [key, values] : m_entries) {
        if (key == name)
            return &values;
    }
    return nullptr;
}

void VCardParameters::insert(const QString& name, const QStringList& values)
{
    (*this)[name] = values;
}

QStringList& VCardParameters::operator[](const QString& name)
{
    for (auto& [key, values] : m_entries) {
        if (key == name)
            return values;
    }
    m_entries.append({name, QStringList()});
    return m_entries.last().second;
}

bool VCardProperty::hasType(QStringView type) const
{
    const QStringList* types = parameters.find(u"TYPE");
    return types && std::any_of(types->begin(), types->end(), [type](const QString& t) {
        return t.compare(type, Qt::CaseInsensitive) == 0;
    });
}

int VCardProperty::preference() const
{
    bool ok = false;
    const int pref = parameters.value(u"PREF").value(0).trimmed().toInt(&ok);
    if (ok)
        return std::clamp(pref, 1, 100);
    return hasType(u"PREF") ? 1 : 100;
}

QList<const VCardProperty*> VCard::all(QStringView name) const
{
    QList<const VCardProperty*> found;
    for (const VCardProperty& p : properties) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            found.append(&p);
    }
    return found;
}

const VCardProperty* VCard::first(QStringView name) const
{
    for (const VCardProperty& p : properties) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

void ReadVCards(const QByteArray& input, const std::function<bool(VCard& card)>& take)
{
    QByteArray data = input;
    // Some desktops save address books as UTF-16 with a byte order mark.
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16);
        const QString text = utf16.decode(data);
        data = text.toUtf8();
    }
    QByteArrayView view(data);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);

    LineReader lines(view);
    std::optional<VCard> card;
    // Whether the reading goes on.
    auto close = [&] {
        const bool more = !card || !isUsable(*card) || take(*card);
        card.reset();
        return more;
    };
    ContentLine line;
    while (!lines.atEnd()) {
        readContentLine(lines, line);
        if (isMarker(line.text, "BEGIN:VCARD")) {
            if (!close()) // a card left open ends where the next begins
                return;
            card.emplace();
        } else if (isMarker(line.text, "END:VCARD")) {
            if (!close())
                return;
        } else if (card) {
            std::optional<VCardProperty> property = parseProperty(line);
            if (property && property->name != u"BEGIN" && property->name != u"END")
                card->properties.append(std::move(*property));
        }
    }
    close();
}

QList<VCard> ParseVCards(const QByteArray& data)
{
    QList<VCard> cards;
    ReadVCards(data, [&cards](VCard& card) {
        cards.append(std::move(card));
        return true;
    });
    return cards;
}
