#pragma once

#include "framework/uiservice.h"

class QWidget;

// The UI service on the desktop: QMessageBox, QFileDialog, QDialog::exec(),
// Qt's override cursor, the clipboard and Qt's print dialog and preview.
class QtUiService final : public UiService {
public:
    // Dialogs are owned by parent (the main window) when it is set.
    void SetParentWindow(QWidget* parent) { m_parent = parent; }

    int MessageBox(const QString& text, const QString& caption, unsigned flags) override;
    std::optional<QString> FileDialog(const FileDialogRequest& request) override;
    int RunModal(QDialog& dialog) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    bool SetClipboardText(const QString& text) override;
    PrintResult Print(const PrintRequest& request, const PagePainter& paint) override;

private:
    QString StartFolder(const FileDialogRequest& request) const;

    QWidget* m_parent = nullptr;
    QString m_lastFolder;
};
