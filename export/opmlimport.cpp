#include "export/opmlimport.h"

#include "platform/bytestream.h"

#include <QBuffer>
#include <QXmlStreamReader>

#include <algorithm>
#include <limits>

namespace {

// The reader's complaint and where it arose.
QString XmlError(const QXmlStreamReader& xml)
{
    QString reason = xml.errorString();
    if (!reason.endsWith(QLatin1Char('.')))
        reason += QLatin1Char('.');
    return QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(reason);
}

// An attribute value with the characters XML cannot carry, which the decoder
// of another encoding (UTF-7, say) still lets through, as U+FFFD: what the
// export writes for them, so that whatever is read can be written back.
QString Mended(QStringView value)
{
    QString text = value.toString();
    char16_t* const units = reinterpret_cast<char16_t*>(text.data());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = units[i];
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(units[i + 1]))
            ++i;
        else if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || QChar::isSurrogate(c) || c >= 0xFFFE)
            units[i] = 0xFFFD;
    }
    return text;
}

// Appends the outlines of the body the reader has just entered, up to its end
// tag. Iterative: a hostile file may nest outlines without limit.
void ReadBody(QXmlStreamReader& xml, const QString& ns, NodeList& list)
{
    qint64 depth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (depth == 0)
                return;
            --depth;
        } else if (token == QXmlStreamReader::StartElement) {
            if (xml.name() != QLatin1String("outline") || xml.namespaceUri() != ns) {
                xml.skipCurrentElement();
                continue;
            }
            ++depth;
            QString title;
            QString text;
            bool haveNote = false;
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (!attribute.namespaceUri().isEmpty())
                    continue;
                const QStringView name = attribute.name();
                if (name == QLatin1String("text")) {
                    title = Mended(attribute.value());
                } else if (name == QLatin1String("_note")) {
                    text = Mended(attribute.value());
                    haveNote = true;
                } else if (name == QLatin1String("note") && !haveNote) {
                    text = Mended(attribute.value());
                }
            }
            // The level is the model's 32-bit number; no file nests deeper than that.
            const qint32 level = qint32(std::min<qint64>(depth, std::numeric_limits<qint32>::max()));
            if (!list.isEmpty() && list.at(list.size() - 1)->GetLevel() < level)
                list.at(list.size() - 1)->SetKind(CTreeNode::kHasSubItems);
            list.append(std::make_unique<CTreeNode>(title, text, level, CTreeNode::kLeaf));
        }
    }
}

} // namespace

OpmlImport::Result OpmlImport::ReadFile(const QString& hostPath, const QString& displayPath, NodeList& into)
{
    FileSource file;
    FileError error;
    if (!file.open(hostPath, displayPath, &error))
        return {Result::FileFailed, error.message()};
    QByteArray bytes;
    try {
        constexpr qsizetype kChunk = 1 << 20;
        bytes.reserve(qsizetype(file.size()) + kChunk);
        for (;;) {
            const qsizetype start = bytes.size();
            bytes.resize(start + kChunk);
            const qsizetype got = file.read(bytes.data() + start, kChunk);
            bytes.resize(start + got);
            if (got < kChunk)
                break;
        }
    } catch (const FileException& e) {
        return {Result::FileFailed, e.error().message()};
    }
    return Read(bytes, displayPath, into);
}

OpmlImport::Result OpmlImport::Read(const QByteArray& bytes, const QString& displayPath, NodeList& into)
{
    const auto notOpml = [&](const QString& reason) {
        return Result{Result::NotOpml, QStringLiteral("%1 is not an OPML file: %2").arg(displayPath, reason)};
    };
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    if (std::all_of(bytes.begin(), bytes.end(), blank))
        return notOpml(QStringLiteral("it is empty."));
    // Through a device: handed the bytes themselves, the reader takes about
    // twice as long over a large file.
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&buffer);
    if (!xml.readNextStartElement())
        return notOpml(XmlError(xml));
    if (xml.name() != QLatin1String("opml"))
        return notOpml(QStringLiteral("its root element is <%1>, not <opml>.").arg(xml.qualifiedName()));
    // The outline's elements are those of the root's namespace, usually none.
    const QString ns = xml.namespaceUri().toString();
    NodeList list;
    bool haveBody = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("body") && xml.namespaceUri() == ns) {
            haveBody = true;
            ReadBody(xml, ns, list);
        } else {
            xml.skipCurrentElement();
        }
    }
    // To the end, so that a file cut short is refused rather than half read.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return notOpml(XmlError(xml));
    if (!haveBody)
        return notOpml(QStringLiteral("it has no <body>."));
    into = std::move(list);
    return {};
}
