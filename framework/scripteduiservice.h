#pragma once

#include "framework/uiservice.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

// A UI service for tests and smoke runs: it answers from a script and records
// everything that was shown. A question with no scripted answer is recorded in
// unanswered and answered with Cancel (or No when there is no Cancel), so a
// test that forgot a question fails instead of hanging.
class ScriptedUiService final : public UiService {
public:
    struct Shown {
        QString text;
        QString caption;
        unsigned flags = 0;
        int answer = 0;
    };

    int MessageBox(const QString& text, const QString& caption, unsigned flags) override;
    std::optional<QString> FileDialog(const FileDialogRequest& request) override;
    int RunModal(QDialog& dialog) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    bool SetClipboardText(const QString& text) override;
    // Prints into the PDF file the script names.
    PrintResult Print(const PrintRequest& request, const PagePainter& paint) override;

    // Texts of the message boxes shown so far, in order.
    QStringList messageTexts() const;

    // Script.
    std::deque<int> answers;                         // for message boxes that ask
    std::deque<std::optional<QString>> fileAnswers;  // for file dialogs; nothing = Cancel
    std::function<int(QDialog&)> modalHandler;       // receives each modal dialog
    bool clipboardFails = false;
    std::deque<std::optional<QString>> printAnswers; // a PDF file to print into; nothing = Cancel

    // Record.
    std::vector<Shown> messages;
    std::vector<FileDialogRequest> fileDialogs;
    QStringList unanswered;
    QStringList modalDialogs; // object names of the dialogs run
    QString clipboardText;
    std::vector<PrintRequest> printRequests;
    int waitCursorDepth = 0;
    int waitCursorCount = 0;
};
