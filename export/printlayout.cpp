#include "export/printlayout.h"

#include "export/minuteexport.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>

namespace {

constexpr qreal kBodyPoints = 11;
// Heading sizes for levels 1, 2, 3 and deeper.
constexpr std::array<qreal, 4> kHeadingPoints = {16, 14, 12.5, 11.5};
// One step of indentation per level, in points, up to a depth that still
// leaves room to read.
constexpr qreal kIndentStep = 14;
constexpr int kDeepestIndent = 10;
// The resolution the minute is laid out at before it is scaled to the device.
constexpr qreal kLayoutDpi = 600;

// What the layout cannot show is made visible rather than dropped: a lone
// half of a surrogate pair and control characters other than the tab. A
// line break, which only a title can still hold here, is a space.
QString Printable(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            result.append(c);
            result.append(text[++i]);
        } else if (c == u'\r' || c == u'\n') {
            result.append(u' ');
        } else if (c.isSurrogate() || (c.unicode() < 0x20 && c != u'\t')) {
            result.append(QChar::ReplacementCharacter);
        } else {
            result.append(c);
        }
    }
    return result;
}

QTextCharFormat CharFormat(qreal points, bool bold)
{
    QTextCharFormat format;
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

class LayoutWriter {
public:
    // Lengths are given in points. The layout scales a block's top and
    // bottom margins from 96 dpi to its device itself, but takes the left
    // margin in the device's pixels.
    LayoutWriter(QTextDocument& document, qreal dpi) : m_cursor(&document), m_pixelsPerPoint(dpi / 72) {}

    QTextBlockFormat BlockFormat(qreal indent, qreal top, qreal bottom) const
    {
        QTextBlockFormat format;
        format.setLeftMargin(indent * m_pixelsPerPoint);
        format.setTopMargin(top * 96 / 72);
        format.setBottomMargin(bottom * 96 / 72);
        return format;
    }

    // The document's first block exists already; every later one is added.
    void Block(const QTextBlockFormat& block, const QTextCharFormat& chars, const QString& text)
    {
        if (m_started)
            m_cursor.insertBlock(block, chars);
        else {
            m_cursor.setBlockFormat(block);
            m_cursor.setBlockCharFormat(chars);
            m_started = true;
        }
        if (!text.isEmpty())
            m_cursor.insertText(text, chars);
    }

    // Each line of a text its own paragraph, blank lines kept.
    void Text(const QString& text, qreal indent)
    {
        const QTextCharFormat chars = CharFormat(kBodyPoints, false);
        // CR LF, a lone CR and a lone LF are each one line break.
        const QString lines = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
        for (const QString& line : lines.split(u'\n'))
            Block(BlockFormat(indent, 0, 0), chars, Printable(line));
    }

private:
    QTextCursor m_cursor;
    qreal m_pixelsPerPoint;
    bool m_started = false;
};

} // namespace

PrintLayout::PrintLayout(const NodeList& nodes)
    : m_nodes(nodes)
{
}

std::unique_ptr<QTextDocument> PrintLayout::Build(const PaperSettings& settings, qreal dpi) const
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    QFont font = document->defaultFont();
    font.setPointSizeF(kBodyPoints);
    // Without ligatures: "fi" drawn as one glyph comes back from a PDF as one
    // character, so that "first" could not be found in it.
    font.setStyleStrategy(QFont::PreferNoShaping);
    document->setDefaultFont(font);
    document->setMetaInformation(QTextDocument::DocumentTitle, settings.title);

    LayoutWriter out(*document, dpi);
    out.Block(out.BlockFormat(0, 0, 2), CharFormat(20, true), Printable(settings.title));
    if (settings.date.isValid()) {
        QTextCharFormat dateFormat = CharFormat(kBodyPoints, false);
        dateFormat.setForeground(QColor(0x55, 0x55, 0x55));
        out.Block(out.BlockFormat(0, 0, 8), dateFormat, QLocale().toString(settings.date, QLocale::LongFormat));
    }

    OutlineNumbering numbering;
    for (const auto& node : m_nodes) {
        const int level = std::max(1, node->GetLevel());
        const QString number = numbering.Next(node->GetLevel());
        QString heading = node->GetTitle();
        if (settings.numbered)
            heading = heading.isEmpty() ? number : number + QLatin1Char(' ') + heading;
        const qreal indent = kIndentStep * std::min(level - 1, kDeepestIndent);
        const qreal points = kHeadingPoints[size_t(std::min(level, int(kHeadingPoints.size())) - 1)];
        out.Block(out.BlockFormat(indent, level == 1 ? 12 : 8, 3), CharFormat(points, true), Printable(heading));
        if (!node->GetTextRef().isEmpty())
            out.Text(node->GetTextRef(), indent);
    }
    return document;
}

bool PrintLayout::Print(const PaperSettings& settings, QPagedPaintDevice& device, int firstPage, int lastPage) const
{
    // The same margins on every device, so that a print looks as the PDF does;
    // a printer that cannot print that near the edge keeps its own.
    device.setPageMargins(QMarginsF(20, 20, 20, 15), QPageLayout::Millimeter);
    // Laid out at a fixed resolution of its own, then painted scaled to the
    // device: every length scales alike, whatever resolution the device has.
    QImage metrics(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(kLayoutDpi / 0.0254);
    metrics.setDotsPerMeterX(dotsPerMeter);
    metrics.setDotsPerMeterY(dotsPerMeter);
    const std::unique_ptr<QTextDocument> document = Build(settings, kLayoutDpi);
    document->documentLayout()->setPaintDevice(&metrics);
    document->setDocumentMargin(0);

    QFont numberFont = document->defaultFont();
    numberFont.setPixelSize(qRound(kBodyPoints * kLayoutDpi / 72));
    const qreal footer = QFontMetricsF(numberFont, &metrics).height();
    const QRectF area = device.pageLayout().paintRectPixels(int(kLayoutDpi));
    // The page number has a line of its own below the body, a line apart.
    const QSizeF body(area.width(), std::max(area.height() - 2 * footer, footer));
    document->setPageSize(body);

    const int pages = document->pageCount();
    const int first = std::clamp(firstPage, 1, pages);
    const int last = lastPage > 0 ? std::clamp(lastPage, first, pages) : pages;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.scale(device.logicalDpiX() / kLayoutDpi, device.logicalDpiY() / kLayoutDpi);
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        const QRectF shown(0, (page - 1) * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(0, -shown.top());
        document->drawContents(&painter, shown);
        painter.restore();
        painter.setFont(numberFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, area.height() - footer, body.width(), footer), Qt::AlignHCenter | Qt::AlignBottom,
                         QString::number(page));
    }
    return painter.end();
}

QPageSize PrintLayout::UserPaper()
{
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (value.isEmpty())
            continue;
        // "en_US.UTF-8@euro": the codeset and modifier say nothing of paper.
        const QString locale = value.section(u'.', 0, 0).section(u'@', 0, 0);
        return PaperFor(QLocale(locale));
    }
    return PaperFor(QLocale::system());
}

QPageSize PrintLayout::PaperFor(const QLocale& locale)
{
    // The territories whose offices use Letter paper.
    static constexpr std::array kLetter = {
        QLocale::UnitedStates, QLocale::Canada,     QLocale::Mexico,      QLocale::Chile,
        QLocale::Colombia,     QLocale::CostaRica,  QLocale::Guatemala,   QLocale::Panama,
        QLocale::Philippines,  QLocale::PuertoRico, QLocale::Venezuela,   QLocale::DominicanRepublic,
        QLocale::ElSalvador,   QLocale::Nicaragua,
    };
    const bool letter = std::find(kLetter.begin(), kLetter.end(), locale.territory()) != kLetter.end();
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}
