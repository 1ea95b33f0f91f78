#pragma once

#include "export/printlayout.h"
#include "export/textencoding.h"
#include "model/nodelist.h"
#include "platform/fileerror.h"

#include <QDate>
#include <QPageSize>
#include <QString>

#include <optional>

// The options of every export kind written to a file; each kind takes those it has.
struct ExportSettings {
    bool numbered = false;                       // all but OPML
    TextEncoding encoding = TextEncoding::Utf16; // text and note
    QString title;                               // Markdown, PDF, OPML: the document title
    QDate date;                                  // PDF: shown under the title
    QPageSize paper = QPageSize(QPageSize::A4);  // PDF

    // For a minute file exported now: its name as the title, today's date, the user's paper.
    static ExportSettings ForMinute(const QString& minutePath);
    // What the PDF and a print take of these.
    PaperSettings Paper() const { return {title, date, numbered, paper}; }
};

// The kinds written to a file (text, note, RTF, HTML, Markdown, PDF, OPML).
bool IsExportFileKind(int kind);

// Writes an export file kind to a file beside hostPath that replaces it
// only when complete; errors name displayPath.
std::optional<FileError> WriteExportFile(const NodeList& nodes, int kind, const QString& hostPath,
                                         const QString& displayPath, const ExportSettings& settings);
