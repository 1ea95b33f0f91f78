#pragma once

#include "export/textencoding.h"
#include "model/nodelist.h"
#include "model/object.h"
#include "platform/fileerror.h"

#include <QString>

#include <optional>
#include <vector>

class ByteSink;
struct ExportSettings;
class DevicePaths;
class UiService;

// What a minute is rendered as.
enum ExportKind {
    ExportClipboard = 0,
    ExportText = 1,
    ExportNote = 2,
    ExportRtf = 3,
    ExportHtml = 4,
    ExportMinute = 5, // the minute file itself; only the file dialog knows it
    ExportMarkdown = 6, // written by MarkdownExport
    ExportPdf = 7,      // written by PdfExport
    ExportOpml = 8,     // written by OpmlExport
};

// The outline numbers of the nodes in list order ("2.1.3."): one counter per
// level, deeper levels restarting when a shallower one follows. Every export
// that numbers its headings shares it, so that they all agree.
class OutlineNumbering {
public:
    QString Next(int level);

private:
    std::vector<quint32> m_counters = std::vector<quint32>(12, 0); // levels 0 to 11
    int m_previous = 1;
};

// Renders the minute as text, a note, RTF or HTML, or puts it on the
// clipboard as Unicode text. One heading and one body per node, in list
// order, with the outline number in front of each heading when asked.
//
// HTML and RTF carry every character: markup characters are escaped and
// characters beyond ASCII are written as character references, so plain
// ASCII input comes out exactly as the formats were always written.
class CMinuteExport : public CObject {
public:
    // Without a UI service there is no wait cursor, clipboard or confirmation
    // (the command-line converter renders that way).
    CMinuteExport(const NodeList& nodes, UiService* ui, const DevicePaths* device = nullptr);

    const RuntimeClass* GetRuntimeClass() const override;

    // Renders the whole minute, as any kind of export: the file kinds through
    // WriteExportFile. For file kinds path is normalised in place (a path
    // whose second character is a backslash loses its first) and names a
    // device path or a host path; the clipboard ignores it. With confirm
    // set, "Exported Minute" is shown at the end. Returns the file error when
    // the file could not be written; nothing is left of it then.
    std::optional<FileError> Render(int kind, QString& path, const ExportSettings& settings, bool confirm);

    // Writes a file kind (1-4) to a file beside hostPath that replaces it only
    // when complete; errors name displayPath.
    std::optional<FileError> RenderToFile(int kind, const QString& hostPath, const QString& displayPath,
                                          bool numbered, TextEncoding encoding) const;
    // Writes the rendering of a file kind (1-4) to sink; throws FileException.
    void RenderTo(ByteSink& sink, int kind, bool numbered, TextEncoding encoding) const;

    // The clipboard text.
    QString RenderText(bool numbered) const;

    // Line breaks (CR LF, or a lone CR or LF) as the format's: "\r\n<br>\r\n"
    // for HTML, "\r\n\par " for RTF.
    static QString TranslateLineBreaks(const QString& text, int kind);
    static QString EscapeHtml(const QString& text);

private:
    const NodeList& m_nodes;
    UiService* m_ui;
    const DevicePaths* m_device;
};
