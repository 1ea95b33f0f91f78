#include "export/pdfexport.h"

#include "platform/bytestream.h"

#include <QBuffer>
#include <QPdfWriter>

PdfExport::PdfExport(const NodeList& nodes)
    : m_nodes(nodes)
{
}

QByteArray PdfExport::Render(const PaperSettings& settings) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(settings.title);
        writer.setCreator(QStringLiteral("Quillon"));
        writer.setPageSize(settings.paper);
        PrintLayout(m_nodes).Print(settings, writer);
    } // the writer finishes the file when it goes
    return bytes;
}

std::optional<FileError> PdfExport::RenderToFile(const QString& hostPath, const QString& displayPath,
                                                 const PaperSettings& settings) const
{
    // Laid out in memory first: the file is only opened once there is something to write.
    const QByteArray bytes = Render(settings);
    return WriteFileSafely(hostPath, displayPath, [&](ByteSink& sink) { sink.write(bytes.constData(), bytes.size()); });
}
