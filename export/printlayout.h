#pragma once

#include "model/nodelist.h"

#include <QDate>
#include <QPageSize>
#include <QString>

#include <memory>

class QLocale;
class QPagedPaintDevice;
class QTextDocument;

// What a printed or PDF minute shows above and around its items.
struct PaperSettings {
    QString title;  // the document title at the top
    QDate date;     // shown under the title; none when invalid
    bool numbered = false;
    QPageSize paper = QPageSize(QPageSize::A4);
};

// The minute laid out for paper: the title and the date at the top, each
// item's title as a heading sized by its level and indented by its depth,
// its text wrapped below it, page numbers at the foot. The PDF export and
// printing share it, so that a printed minute and its PDF look alike.
class PrintLayout {
public:
    explicit PrintLayout(const NodeList& nodes);

    // Lays the minute out for the device's printable area and paints its
    // pages firstPage to lastPage (1-based; 0 for the first or last page),
    // each with its number at the foot. The device's page size is used as
    // it is set.
    // False when the device could not be painted on.
    bool Print(const PaperSettings& settings, QPagedPaintDevice& device, int firstPage = 0, int lastPage = 0) const;
    std::unique_ptr<QTextDocument> Build(const PaperSettings& settings, qreal dpi) const;

    // Letter where the locale's territory uses it, A4 everywhere else.
    static QPageSize PaperFor(const QLocale& locale);
    // The paper of the user's locale: LC_ALL, LC_PAPER, then LANG, as the C library takes them.
    static QPageSize UserPaper();

private:
    const NodeList& m_nodes;
};
