#include "framework/qtuiservice.h"

#include "framework/handhelddialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace {

// Runs a dialog; the keyboard then goes back to the window it came from,
// also where no window manager hands it back.
int ExecAndReturnFocus(QDialog& dialog)
{
    const int result = dialog.exec();
    if (QWidget* owner = dialog.parentWidget(); owner && owner->window()->isVisible())
        owner->window()->activateWindow();
    return result;
}

} // namespace

int QtUiService::MessageBox(const QString& text, const QString& caption, unsigned flags)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (flags & MB_ICONMASK) {
    case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    if (flags & MB_SETFOREGROUND) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    switch (ExecAndReturnFocus(box)) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Ok:
        return IDOK;
    default:
        // Closed by the window frame or Escape.
        return (flags & MB_TYPEMASK) == MB_YESNO ? IDNO : (flags & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
    }
}

std::optional<QString> QtUiService::FileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(m_parent, request.title);
    QStringList filters;
    for (const FileFilter& filter : ParseFileFilter(request.filter)) {
        // Each pattern shown once: most descriptions already name theirs.
        const QString patterns = QString(filter.pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(filter.description.contains(QStringLiteral("(%1)").arg(patterns))
                           ? filter.description
                           : QStringLiteral("%1 (%2)").arg(filter.description, patterns));
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (request.mode == FileDialogRequest::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.overwritePrompt)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    dialog.setDirectory(StartFolder(request));
    // A pattern such as "*.min" is no name to offer.
    if (!request.initialName.isEmpty() && !request.initialName.contains(QLatin1Char('*')))
        dialog.selectFile(request.initialName);
    if (ExecAndReturnFocus(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    m_lastFolder = chosen.absolutePath();
    return chosen.absoluteFilePath();
}

QString QtUiService::StartFolder(const FileDialogRequest& request) const
{
    // Where the user's files are: the minute's own folder, the last one
    // used, the Documents folder; never the program's working folder.
    for (const QString& folder : {request.initialFolder, m_lastFolder}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

int QtUiService::RunModal(QDialog& dialog)
{
    if (auto* handheld = qobject_cast<HandheldDialog*>(&dialog))
        handheld->InitDialog();
    // Closing a dialog by its frame or Escape is a Cancel.
    const int result = ExecAndReturnFocus(dialog);
    return result == QDialog::Rejected ? IDCANCEL : result;
}

void QtUiService::BeginWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUiService::EndWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

bool QtUiService::SetClipboardText(const QString& text)
{
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    return true;
}

PrintResult QtUiService::Print(const PrintRequest& request, const PagePainter& paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(request.documentName);
    // A real printer keeps the paper it has; printing to a file takes the locale's.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        printer.setPageSize(request.paper);
    bool painted = true;
    if (request.preview) {
        QPrintPreviewDialog preview(&printer, m_parent);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* shown) {
            painted = paint(*shown, shown->fromPage(), shown->toPage());
        });
        // The preview's own Print button prints and accepts.
        if (ExecAndReturnFocus(preview) != QDialog::Accepted)
            return PrintResult::Cancelled;
    } else {
        QPrintDialog dialog(&printer, m_parent);
        if (ExecAndReturnFocus(dialog) != QDialog::Accepted)
            return PrintResult::Cancelled;
        painted = paint(printer, printer.fromPage(), printer.toPage());
    }
    return painted && printer.printerState() != QPrinter::Error ? PrintResult::Printed : PrintResult::Failed;
}
