// The PDF export, read by poppler's tools (pdftotext, pdfinfo): every title
// and text must come out in order, on the locale's paper, with page numbers,
// headings sized by level and indented by depth.

#include "export/pdfexport.h"
#include "exportitems.h"
#include "testsupport.h"

#include <QLocale>
#include <QPdfWriter>
#include <QRectF>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace {

using exporttest::Item;
using exporttest::makeList;

PaperSettings settings(bool numbered = false, QPageSize paper = QPageSize(QPageSize::A4))
{
    return PaperSettings{QStringLiteral("Board meeting"), QDate(2026, 12, 8), numbered, paper};
}

class PdfExportTest : public ::testing::Test {
protected:
    QString Write(const NodeList& list, const PaperSettings& paper)
    {
        const QString path = dir.filePath(QStringLiteral("minute.pdf"));
        EXPECT_FALSE(PdfExport(list).RenderToFile(path, path, paper).has_value());
        return path;
    }
    static QString Tool(const char* program, QStringList arguments)
    {
        const testsupport::ToolRun run = testsupport::runTool(QString::fromLatin1(program), arguments);
        EXPECT_EQ(run.error, QString());
        return QString::fromUtf8(run.output);
    }
    // The text in the order it was drawn, which is the minute's.
    static QString Text(const QString& pdf, int page = 0)
    {
        QStringList arguments{QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
        if (page > 0)
            arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
        return Tool("pdftotext", arguments << pdf << QStringLiteral("-"));
    }

    QTemporaryDir dir;
};

// Runs of white space as one space: the extractor breaks lines where the layout wrapped them.
QString squeezed(const QString& text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return QString(text).replace(space, QStringLiteral(" ")).trimmed();
}

// Each expected piece is found after the one before it.
void expectInOrder(const QString& extracted, const QStringList& pieces)
{
    const QString all = squeezed(extracted);
    qsizetype from = 0;
    for (const QString& piece : pieces) {
        const QString wanted = squeezed(piece);
        if (wanted.isEmpty())
            continue;
        const qsizetype at = all.indexOf(wanted, from);
        ASSERT_GE(at, 0) << "missing in order: " << wanted.toStdString();
        from = at + wanted.size();
    }
}

} // namespace

TEST_F(PdfExportTest, EveryTitleAndTextComesBackInOrder)
{
    std::vector<Item> items{
        {1, QStringLiteral("Specials # * _ [ ] < > & \\ ` ~ |"), QStringLiteral("<script>alert('x')</script> \"quoted\"")},
        {2, QStringLiteral("1. Leading digits"), QStringLiteral("2) also\r\nsecond line\r\n\r\nafter a blank line\nlone LF\rlone CR")},
        {2, QString(), QStringLiteral("An untitled item's text: the first office, affluent, waffle, flow")},
        {3, QStringLiteral("Empty text\r\nbelow"), QString()}, // a break only a damaged file puts in a title
        {1, QStringLiteral("Grüße, naïve café, Ελληνικά, кириллица"), QStringLiteral("€ – “typographic” ‘quotes’")},
    };
    for (int level = 1; level <= 20; ++level)
        items.push_back({level, QStringLiteral("Depth %1").arg(level), QStringLiteral("Text at depth %1 that is long enough to wrap "
                                                                                      "on the page where it is indented furthest, "
                                                                                      "and wraps again at depth %1.").arg(level)});
    // Qt's PDF writer maps only characters of the Basic Multilingual Plane
    // back to Unicode: an emoji is drawn, but no extractor gets it back. The
    // text around it must still come out.
    items.push_back({1, QStringLiteral("Party 🎉 planning"), QStringLiteral("Bring 🍰 cake")});

    const NodeList list = makeList(items);
    QStringList expected{QStringLiteral("Board meeting"), QLocale().toString(QDate(2026, 12, 8), QLocale::LongFormat)};
    for (const Item& item : items) {
        QString title = item.title;
        QString text = item.text;
        for (QString* piece : {&title, &text}) {
            piece->remove(QStringLiteral("🎉")).remove(QStringLiteral("🍰"));
            expected << piece->split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
        }
    }
    expectInOrder(Text(Write(list, settings())), expected);

    // Numbered, with the numbers the other exports use.
    expectInOrder(Text(Write(list, settings(true))),
                  {QStringLiteral("1. Specials"), QStringLiteral("1.1. 1. Leading digits"), QStringLiteral("1.2. An untitled"),
                   QStringLiteral("1.2.1. Empty text below"), QStringLiteral("2. Grüße"), QStringLiteral("3. Depth 1"),
                   QStringLiteral("3.1. Depth 2")});

    // Ten thousand items, in order, with no item lost between pages.
    std::vector<Item> many;
    for (int i = 0; i < 10000; ++i)
        many.push_back({1 + i % 4, QStringLiteral("Item %1").arg(i), i % 3 ? QStringLiteral("Body %1").arg(i) : QString()});
    const QString text = squeezed(Text(Write(makeList(many), settings())));
    qsizetype from = 0;
    for (const Item& item : many) {
        for (const QString& piece : {item.title, item.text}) {
            if (piece.isEmpty())
                continue;
            // "Item 1" must not be found inside "Item 10".
            const qsizetype at = text.indexOf(piece + QLatin1Char(' '), from);
            ASSERT_GE(at, 0) << piece.toStdString();
            from = at + piece.size();
        }
    }
}

TEST_F(PdfExportTest, PagesHaveTheLocalesPaperAndTheirNumbers)
{
    EXPECT_EQ(PrintLayout::PaperFor(QLocale(QStringLiteral("en_US"))).id(), QPageSize::Letter);
    EXPECT_EQ(PrintLayout::PaperFor(QLocale(QStringLiteral("fr_CA"))).id(), QPageSize::Letter);
    EXPECT_EQ(PrintLayout::PaperFor(QLocale(QStringLiteral("en_GB"))).id(), QPageSize::A4);
    EXPECT_EQ(PrintLayout::PaperFor(QLocale(QStringLiteral("de_DE"))).id(), QPageSize::A4);
    EXPECT_EQ(PrintLayout::PaperFor(QLocale::c()).id(), QPageSize::A4);
    {
        // LC_ALL wins over LC_PAPER, which wins over LANG.
        const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_PAPER"), qgetenv("LANG")};
        qputenv("LC_ALL", "");
        qputenv("LC_PAPER", "es_MX.UTF-8");
        qputenv("LANG", "de_DE.UTF-8");
        EXPECT_EQ(PrintLayout::UserPaper().id(), QPageSize::Letter);
        qputenv("LC_ALL", "de_AT.UTF-8@euro");
        EXPECT_EQ(PrintLayout::UserPaper().id(), QPageSize::A4);
        qputenv("LC_ALL", saved[0]);
        qputenv("LC_PAPER", saved[1]);
        qputenv("LANG", saved[2]);
    }

    std::vector<Item> items;
    for (int i = 0; i < 400; ++i)
        items.push_back({1 + i % 3, QStringLiteral("Item %1").arg(i), QStringLiteral("Some words of text.")});
    const NodeList list = makeList(items);
    for (const auto& [paper, size] : {std::pair{QPageSize::A4, "595 x 842 pts"}, std::pair{QPageSize::Letter, "612 x 792 pts"}}) {
        const QString pdf = Write(list, settings(false, QPageSize(paper)));
        const QString info = Tool("pdfinfo", {pdf});
        EXPECT_TRUE(info.contains(QLatin1String(size))) << info.toStdString();
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Board meeting"))));
        const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        ASSERT_TRUE(pages.hasMatch());
        const int count = pages.captured(1).toInt();
        EXPECT_GT(count, 5);
        // The number at the foot of each page is its own, and the last line on it.
        for (int page = 1; page <= count; ++page) {
            const QStringList lines = Text(pdf, page).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            ASSERT_FALSE(lines.isEmpty());
            EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("\\S"))).last().trimmed(), QString::number(page));
        }
    }

    // A page range, as a print dialog gives it, prints those pages with their own numbers.
    const QString range = dir.filePath(QStringLiteral("range.pdf"));
    {
        QPdfWriter printer(range);
        ASSERT_TRUE(PrintLayout(list).Print(settings(), printer, 2, 3));
    }
    EXPECT_TRUE(Tool("pdfinfo", {range}).contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
    EXPECT_EQ(Text(range, 1), Text(Write(list, settings()), 2));
}

TEST_F(PdfExportTest, HeadingsAreSizedByLevelAndIndentedByDepthWithTheirTexts)
{
    const NodeList list = makeList({{1, QStringLiteral("Alpha"), QStringLiteral("alphatext")},
                                    {2, QStringLiteral("Bravo"), QStringLiteral("bravotext")},
                                    {3, QStringLiteral("Charlie"), QStringLiteral("charlietext")},
                                    {4, QStringLiteral("Delta"), QStringLiteral("deltatext")},
                                    {14, QStringLiteral("Echo"), QStringLiteral("echotext")}});
    // Each word's box, from the extractor's -bbox page.
    QXmlStreamReader xml(Tool("pdftotext", {QStringLiteral("-bbox"), Write(list, settings()), QStringLiteral("-")}));
    std::map<QString, QRectF> boxes;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("word"))
            continue;
        const auto attribute = [&](const char* name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
        const QRectF box(QPointF(attribute("xMin"), attribute("yMin")), QPointF(attribute("xMax"), attribute("yMax")));
        boxes[xml.readElementText()] = box;
    }
    const QStringList headings{QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("Charlie"),
                               QStringLiteral("Delta"), QStringLiteral("Echo")};
    for (const QString& word : headings)
        ASSERT_EQ(boxes.count(word), 1u) << word.toStdString();
    ASSERT_EQ(boxes.count(QStringLiteral("Board")), 1u);
    EXPECT_GT(boxes[QStringLiteral("Board")].height(), boxes[QStringLiteral("Alpha")].height());
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const QRectF heading = boxes[headings[i]];
        const QRectF text = boxes[headings[i].toLower() + QStringLiteral("text")];
        SCOPED_TRACE(headings[i].toStdString());
        EXPECT_NEAR(text.left(), heading.left(), 0.5);
        EXPECT_GT(text.top(), heading.bottom() - 0.5);
        if (i == 0)
            continue;
        const QRectF above = boxes[headings[i - 1]];
        EXPECT_GT(heading.left(), above.left() + 5);
        EXPECT_GT(heading.top(), above.top());
        // Sizes step down to the fourth level, then stay.
        if (i < 4)
            EXPECT_LT(heading.height(), above.height() - 0.3);
        else
            EXPECT_NEAR(heading.height(), above.height(), 0.3);
    }
    // Deep levels stop moving right before the text has no room left.
    EXPECT_LT(boxes[QStringLiteral("Echo")].left(), 250);
}

TEST_F(PdfExportTest, AFailedWriteLeavesThePreviousFile)
{
    const QString path = dir.filePath(QStringLiteral("minute.pdf"));
    ASSERT_TRUE(testsupport::writeFile(path, "previous"));
    std::vector<Item> items(300, Item{1, QStringLiteral("Title"), QStringLiteral("Text")});
    std::optional<FileError> error;
    {
        const testsupport::FileSizeLimit limit(4096);
        error = PdfExport(makeList(items)).RenderToFile(path, path, settings());
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->cause, FileErrorCause::DiskFull);
    EXPECT_EQ(testsupport::readFile(path), QByteArray("previous"));
}
