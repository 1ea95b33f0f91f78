#include "tools/quillon-cli/minutejson.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <limits>

namespace {

void appendEscaped(QByteArray& out, const QString& text)
{
    out += '"';
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'"') {
            out += "\\\"";
        } else if (c == u'\\') {
            out += "\\\\";
        } else if (c == u'\n') {
            out += "\\n";
        } else if (c == u'\r') {
            out += "\\r";
        } else if (c == u'\t') {
            out += "\\t";
        } else if (c < 0x20) {
            out += QByteArray("\\u") + QByteArray::number(c, 16).rightJustified(4, '0');
        } else if (c < 0x80) {
            out += char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            out += QStringView(text).mid(i, 2).toUtf8();
            ++i;
        } else if (QChar::isSurrogate(c)) {
            out += QByteArray("\\u") + QByteArray::number(c, 16).rightJustified(4, '0');
        } else {
            out += QStringView(text).mid(i, 1).toUtf8();
        }
    }
    out += '"';
}

bool integerField(const QJsonObject& node, const QString& where, const char* name, double min, double max,
                  bool required, double* value, QString* error)
{
    const QJsonValue field = node.value(QLatin1String(name));
    if (field.isUndefined()) {
        if (!required)
            return true;
        *error = QStringLiteral("%1: missing \"%2\"").arg(where, QLatin1String(name));
        return false;
    }
    const double number = field.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!field.isDouble() || std::floor(number) != number || number < min || number > max) {
        *error = QStringLiteral("%1.%2: expected an integer from %3 to %4")
                     .arg(where, QLatin1String(name))
                     .arg(qint64(min))
                     .arg(qint64(max));
        return false;
    }
    *value = number;
    return true;
}

bool stringField(const QJsonObject& node, const QString& where, const char* name, QString* value, QString* error)
{
    const QJsonValue field = node.value(QLatin1String(name));
    if (field.isUndefined()) {
        *error = QStringLiteral("%1: missing \"%2\"").arg(where, QLatin1String(name));
        return false;
    }
    if (!field.isString()) {
        *error = QStringLiteral("%1.%2: expected a string").arg(where, QLatin1String(name));
        return false;
    }
    *value = field.toString();
    return true;
}

} // namespace

bool WriteMinuteJson(const NodeList& list, QIODevice& out)
{
    QByteArray chunk("{\"nodes\":[");
    bool first = true;
    for (const auto& node : list) {
        chunk += first ? "\n{\"title\":" : ",\n{\"title\":";
        first = false;
        appendEscaped(chunk, node->GetTitle());
        chunk += ",\"text\":";
        appendEscaped(chunk, node->GetText());
        chunk += ",\"level\":" + QByteArray::number(node->GetLevel());
        chunk += ",\"kind\":" + QByteArray::number(node->GetKind());
        chunk += ",\"reserved\":" + QByteArray::number(node->GetReserved()) + '}';
        if (chunk.size() > (1 << 20)) {
            if (out.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    chunk += first ? "]}\n" : "\n]}\n";
    return out.write(chunk) == chunk.size();
}

bool ReadMinuteJson(const QByteArray& json, NodeList& list, QString* error)
{
    list.clear();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("not valid JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString());
        return false;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("expected an object with a \"nodes\" array");
        return false;
    }
    const QJsonValue nodes = document.object().value(QLatin1String("nodes"));
    if (!nodes.isArray()) {
        *error = nodes.isUndefined() ? QStringLiteral("missing \"nodes\"") : QStringLiteral("\"nodes\" must be an array");
        return false;
    }
    const QJsonArray array = nodes.toArray();
    list.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString where = QStringLiteral("nodes[%1]").arg(i);
        if (!array.at(i).isObject()) {
            *error = QStringLiteral("%1: expected an object").arg(where);
            list.clear();
            return false;
        }
        const QJsonObject object = array.at(i).toObject();
        QString title;
        QString text;
        double level = 0;
        double kind = 0;
        double reserved = 0;
        constexpr double kMin = std::numeric_limits<qint32>::min();
        constexpr double kMax = std::numeric_limits<qint32>::max();
        if (!stringField(object, where, "title", &title, error) || !stringField(object, where, "text", &text, error)
            || !integerField(object, where, "level", kMin, kMax, true, &level, error)
            || !integerField(object, where, "kind", kMin, kMax, true, &kind, error)
            || !integerField(object, where, "reserved", 0, std::numeric_limits<quint32>::max(), false, &reserved, error)) {
            list.clear();
            return false;
        }
        auto node = std::make_unique<CTreeNode>(title, text, qint32(level), qint32(kind));
        node->SetReserved(quint32(reserved));
        list.append(std::move(node));
    }
    return true;
}
