#pragma once

#include "export/printlayout.h"
#include "platform/fileerror.h"

#include <QByteArray>

#include <optional>

// Writes the minute as a PDF through Qt's own PDF writer, in the layout
// printing uses. The text is real text (fonts embedded with their Unicode
// maps), so a PDF reader can search it and a text extractor gets back every
// title and text in order.
class PdfExport {
public:
    explicit PdfExport(const NodeList& nodes);

    QByteArray Render(const PaperSettings& settings) const;
    // Writes to a file beside hostPath that replaces it only when complete;
    // errors name displayPath.
    std::optional<FileError> RenderToFile(const QString& hostPath, const QString& displayPath,
                                          const PaperSettings& settings) const;

private:
    const NodeList& m_nodes;
};
