#include "export/exportfile.h"

#include "export/markdownexport.h"
#include "export/minuteexport.h"
#include "export/opmlexport.h"
#include "export/pdfexport.h"

ExportSettings ExportSettings::ForMinute(const QString& minutePath)
{
    ExportSettings settings;
    settings.title = MarkdownExport::DocumentTitle(minutePath);
    settings.date = QDate::currentDate();
    settings.paper = PrintLayout::UserPaper();
    return settings;
}

bool IsExportFileKind(int kind)
{
    return (kind >= ExportText && kind <= ExportHtml) || (kind >= ExportMarkdown && kind <= ExportOpml);
}

std::optional<FileError> WriteExportFile(const NodeList& nodes, int kind, const QString& hostPath,
                                         const QString& displayPath, const ExportSettings& settings)
{
    switch (kind) {
    case ExportMarkdown:
        return MarkdownExport(nodes).RenderToFile(hostPath, displayPath, settings.title, settings.numbered);
    case ExportPdf:
        return PdfExport(nodes).RenderToFile(hostPath, displayPath, settings.Paper());
    case ExportOpml:
        return OpmlExport(nodes).RenderToFile(hostPath, displayPath, settings.title);
    default:
        return CMinuteExport(nodes, nullptr).RenderToFile(kind, hostPath, displayPath, settings.numbered, settings.encoding);
    }
}
