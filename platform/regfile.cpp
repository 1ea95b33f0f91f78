#include "platform/regfile.h"

#include <QStringDecoder>
#include <QStringView>

#include <algorithm>
#include <utility>

namespace {

constexpr qsizetype WrapColumn = 76;

bool hasLoneSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

bool isValidName(QStringView name, qsizetype maxLength)
{
    if (name.size() > maxLength)
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20)
            return false;
    }
    return !hasLoneSurrogate(name);
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// One to eight hex digits, nothing else (no sign, prefix or blanks).
std::optional<quint32> parseHex32(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    quint32 number = 0;
    for (const QChar c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        number = number << 4 | quint32(digit);
    }
    return number;
}

std::optional<QByteArray> parseHexBytes(QStringView text)
{
    QByteArray bytes;
    text = text.trimmed();
    if (text.isEmpty())
        return bytes;
    bytes.reserve(text.size() / 3 + 1);
    for (QStringView token : text.tokenize(u',')) {
        token = token.trimmed();
        const std::optional<quint32> byte = token.size() <= 2 ? parseHex32(token) : std::nullopt;
        if (!byte)
            return std::nullopt;
        bytes.append(char(*byte));
    }
    return bytes;
}

// The quoted text starting at line[pos]; pos moves past the closing quote.
// Only \\ and \" are escapes, as the export syntax has no others.
bool readQuoted(QStringView line, qsizetype& pos, QString& text)
{
    text.clear();
    if (pos >= line.size() || line[pos] != u'"')
        return false;
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        QChar c = line[i];
        if (c == u'"') {
            pos = i + 1;
            return true;
        }
        if (c == u'\\') {
            if (++i == line.size() || (line[i] != u'\\' && line[i] != u'"'))
                return false;
            c = line[i];
        }
        text += c;
    }
    return false;
}

// A `"name"=data` or `@=data` line. Deletions (`=-`) are not parsed: the file
// holds a state, not a list of edits.
bool parseValueLine(QStringView line, QString& name, RegistryValue& value)
{
    qsizetype pos = 0;
    if (line.startsWith(u'@')) {
        name.clear();
        pos = 1;
    } else if (!readQuoted(line, pos, name) || !isValidValueName(name)) {
        return false;
    }
    QStringView rest = line.sliced(pos).trimmed();
    if (!rest.startsWith(u'='))
        return false;
    rest = rest.sliced(1).trimmed();

    if (rest.startsWith(u'"')) {
        qsizetype end = 0;
        QString text;
        if (!readQuoted(rest, end, text) || end != rest.size())
            return false;
        value = RegistryValue::fromString(text);
        return true;
    }
    if (rest.startsWith(u"dword:", Qt::CaseInsensitive)) {
        const std::optional<quint32> number = parseHex32(rest.sliced(6));
        if (!number)
            return false;
        value = RegistryValue::fromDword(*number);
        return true;
    }
    if (rest.startsWith(u"hex", Qt::CaseInsensitive)) {
        rest = rest.sliced(3);
        quint32 type = RegBinary;
        if (rest.startsWith(u'(')) {
            const qsizetype close = rest.indexOf(u')');
            const std::optional<quint32> number = close > 0 ? parseHex32(rest.sliced(1, close - 1)) : std::nullopt;
            if (!number)
                return false;
            type = *number;
            rest = rest.sliced(close + 1);
        }
        if (!rest.startsWith(u':'))
            return false;
        std::optional<QByteArray> bytes = parseHexBytes(rest.sliced(1));
        if (!bytes)
            return false;
        value = RegistryValue{type, std::move(*bytes)};
        return true;
    }
    return false;
}

// The key a `[hive\path]` line opens, or null when its values are to be skipped.
bool isVersionLine(QStringView line)
{
    return line == u"Windows Registry Editor Version 5.00" || line == u"REGEDIT4";
}

RegKeyNode* openSection(RegTree& tree, QStringView line)
{
    if (line.size() < 2 || !line.endsWith(u']'))
        return nullptr;
    const QStringView inner = line.sliced(1, line.size() - 2);
    const qsizetype slash = inner.indexOf(u'\\');
    // A deletion ("[-HKEY_...]") fails here as an unknown hive.
    const std::optional<RegistryHive> hive = Registry::hiveFromName((slash < 0 ? inner : inner.first(slash)).toString());
    if (!hive)
        return nullptr;
    const std::optional<QStringList> path = splitKeyPath(slash < 0 ? QString() : inner.sliced(slash + 1).toString());
    if (!path || path->isEmpty())
        return nullptr;
    return &tree.create(*hive, *path);
}

void appendQuoted(QString& out, QStringView text)
{
    out += u'"';
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    out += u'"';
}

// The text of a REG_SZ that the quoted form keeps exactly: its bytes are the
// UTF-16LE of the text plus one terminating zero, and the text has nothing a
// line of UTF-8 would lose.
std::optional<QString> quotableString(const RegistryValue& value)
{
    if (value.type != RegSz || value.data.size() < 2 || value.data.size() % 2 != 0)
        return std::nullopt;
    QString text = value.toString();
    // toString stops at the first zero, so this also rules out inner zeros.
    if ((text.size() + 1) * 2 != value.data.size() || value.data.back() != 0 || value.data[value.data.size() - 2] != 0)
        return std::nullopt;
    if (text.contains(u'\r') || text.contains(u'\n') || hasLoneSurrogate(text))
        return std::nullopt;
    return text;
}

void appendHexBytes(QString& out, qsizetype lineStart, const QByteArray& data)
{
    static constexpr char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0) {
            out += u',';
            if (out.size() - lineStart > WrapColumn) {
                out += QStringLiteral("\\\n  ");
                lineStart = out.size() - 2;
            }
        }
        const auto byte = uchar(data[i]);
        out += QLatin1Char(digits[byte >> 4]);
        out += QLatin1Char(digits[byte & 0xf]);
    }
}

void appendValueLine(QString& out, const QString& name, const RegistryValue& value)
{
    const qsizetype lineStart = out.size();
    if (name.isEmpty())
        out += u'@';
    else
        appendQuoted(out, name);
    out += u'=';
    if (value.type == RegDword && value.data.size() == 4) {
        quint32 number = 0;
        for (qsizetype i = 3; i >= 0; --i)
            number = number << 8 | uchar(value.data[i]);
        out += QStringLiteral("dword:%1").arg(number, 8, 16, QLatin1Char('0'));
    } else if (const std::optional<QString> text = quotableString(value)) {
        appendQuoted(out, *text);
    } else {
        out += value.type == RegBinary ? QStringLiteral("hex:") : QStringLiteral("hex(%1):").arg(value.type, 0, 16);
        appendHexBytes(out, lineStart, value.data);
    }
    out += u'\n';
}

void appendKey(QString& out, const QString& path, const RegKeyNode& node)
{
    out += u'\n';
    out += u'[';
    out += path;
    out += QStringLiteral("]\n");
    for (const RegValueEntry* entry : node.orderedValues())
        appendValueLine(out, entry->name, entry->value);
    for (const auto& [folded, child] : node.children)
        appendKey(out, path + u'\\' + child->name, *child);
}

} // namespace

const RegKeyNode* RegKeyNode::child(const QString& name) const
{
    const auto it = children.find(name.toCaseFolded());
    return it == children.end() ? nullptr : it->second.get();
}

RegKeyNode* RegKeyNode::child(const QString& name)
{
    return const_cast<RegKeyNode*>(std::as_const(*this).child(name));
}

RegKeyNode& RegKeyNode::ensureChild(const QString& name, bool* created)
{
    auto [it, inserted] = children.try_emplace(name.toCaseFolded());
    if (inserted) {
        it->second = std::make_unique<RegKeyNode>();
        it->second->name = name;
    }
    if (created)
        *created = inserted;
    return *it->second;
}

bool RegKeyNode::removeChild(const QString& name)
{
    return children.erase(name.toCaseFolded()) > 0;
}

QStringList RegKeyNode::childNames() const
{
    QStringList names;
    names.reserve(qsizetype(children.size()));
    for (const auto& [folded, node] : children)
        names.append(node->name);
    return names;
}

const RegistryValue* RegKeyNode::value(const QString& name) const
{
    const auto it = values.find(name.toCaseFolded());
    return it == values.end() ? nullptr : &it->second.value;
}

bool RegKeyNode::setValue(const QString& name, const RegistryValue& value)
{
    auto [it, inserted] = values.try_emplace(name.toCaseFolded());
    if (inserted) {
        it->second.name = name;
        it->second.order = nextOrder++;
    } else if (it->second.value == value) {
        return false;
    }
    it->second.value = value;
    return true;
}

bool RegKeyNode::removeValue(const QString& name)
{
    return values.erase(name.toCaseFolded()) > 0;
}

std::vector<const RegValueEntry*> RegKeyNode::orderedValues() const
{
    std::vector<const RegValueEntry*> entries;
    entries.reserve(values.size());
    for (const auto& [folded, entry] : values)
        entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(), [](const RegValueEntry* a, const RegValueEntry* b) { return a->order < b->order; });
    return entries;
}

QStringList RegKeyNode::valueNames() const
{
    QStringList names;
    for (const RegValueEntry* entry : orderedValues())
        names.append(entry->name);
    return names;
}

RegKeyNode& RegTree::root(RegistryHive hive)
{
    return hives[std::size_t(hive)];
}

const RegKeyNode& RegTree::root(RegistryHive hive) const
{
    return hives[std::size_t(hive)];
}

const RegKeyNode* RegTree::find(RegistryHive hive, const QStringList& path) const
{
    const RegKeyNode* node = &root(hive);
    for (const QString& part : path) {
        node = node->child(part);
        if (!node)
            return nullptr;
    }
    return node;
}

RegKeyNode* RegTree::find(RegistryHive hive, const QStringList& path)
{
    return const_cast<RegKeyNode*>(std::as_const(*this).find(hive, path));
}

RegKeyNode& RegTree::create(RegistryHive hive, const QStringList& path, bool* created)
{
    bool any = false;
    RegKeyNode* node = &root(hive);
    for (const QString& part : path) {
        bool made = false;
        node = &node->ensureChild(part, &made);
        any = any || made;
    }
    if (created)
        *created = any;
    return *node;
}

std::optional<QStringList> splitKeyPath(const QString& key)
{
    qsizetype begin = 0;
    qsizetype end = key.size();
    while (begin < end && key[begin] == u'\\')
        ++begin;
    while (end > begin && key[end - 1] == u'\\')
        --end;
    QStringList parts;
    if (begin == end)
        return parts;
    for (const QStringView part : QStringView(key).sliced(begin, end - begin).tokenize(u'\\')) {
        if (part.isEmpty() || parts.size() == RegMaxKeyDepth || !isValidName(part, RegMaxKeyNameLength))
            return std::nullopt;
        parts.append(part.toString());
    }
    return parts;
}

bool isValidValueName(const QString& name)
{
    return isValidName(name, RegMaxValueNameLength);
}

RegTree parseRegFile(const QByteArray& bytes, bool* damaged)
{
    QByteArrayView content(bytes);
    if (content.startsWith("\xEF\xBB\xBF"))
        content = content.sliced(3);
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(content);
    bool skipped = decoder.hasError();
    const QList<QStringView> lines = QStringView(text).split(u'\n');

    RegTree tree;
    RegKeyNode* section = nullptr; // where value lines go; null while skipping
    QString joined;
    QString name;
    RegistryValue value;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line = lines[i].trimmed();
        if (line.startsWith(u'[')) {
            section = openSection(tree, line);
            skipped = skipped || !section;
            continue;
        }
        // Blank lines, comments, the version line and anything unreadable.
        if (!line.startsWith(u'"') && !line.startsWith(u'@')) {
            skipped = skipped || !(line.isEmpty() || line.startsWith(u';') || isVersionLine(line));
            continue;
        }
        // Long hex data goes on over indented lines after a trailing backslash.
        // Requiring the indent keeps a truncated line from swallowing the
        // section header after it.
        if (line.endsWith(u'\\')) {
            joined = line.toString();
            while (joined.endsWith(u'\\') && i + 1 < lines.size() && (lines[i + 1].startsWith(u' ') || lines[i + 1].startsWith(u'\t'))) {
                joined.chop(1);
                joined += lines[++i].trimmed();
            }
            line = joined;
        }
        if (section && parseValueLine(line, name, value))
            section->setValue(name, value);
        else
            skipped = true;
    }
    if (damaged)
        *damaged = skipped;
    return tree;
}

QByteArray formatRegFile(const RegTree& tree)
{
    QString out = QStringLiteral("Windows Registry Editor Version 5.00\n");
    // Hives in the order of their names, like the keys below them.
    for (const RegistryHive hive : {RegistryHive::ClassesRoot, RegistryHive::CurrentUser, RegistryHive::LocalMachine}) {
        for (const auto& [folded, child] : tree.root(hive).children)
            appendKey(out, Registry::hiveName(hive) + u'\\' + child->name, *child);
    }
    return out.toUtf8();
}
