#include "framework/scripteduiservice.h"

#include <QPdfWriter>

#include "framework/handhelddialog.h"

#include <QDialog>

int ScriptedUiService::MessageBox(const QString& text, const QString& caption, unsigned flags)
{
    int answer = IDOK;
    const unsigned type = flags & MB_TYPEMASK;
    if (type != MB_OK) {
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        } else {
            unanswered.append(text);
            answer = type == MB_YESNO ? IDNO : IDCANCEL;
        }
    }
    messages.push_back({text, caption, flags, answer});
    return answer;
}

std::optional<QString> ScriptedUiService::FileDialog(const FileDialogRequest& request)
{
    fileDialogs.push_back(request);
    if (fileAnswers.empty()) {
        unanswered.append(request.title);
        return std::nullopt;
    }
    const bool chosen = fileAnswers.front().has_value();
    const QString path = chosen ? *fileAnswers.front() : QString();
    fileAnswers.pop_front();
    if (!chosen)
        return std::nullopt;
    return path;
}

int ScriptedUiService::RunModal(QDialog& dialog)
{
    if (auto* handheld = qobject_cast<HandheldDialog*>(&dialog))
        handheld->InitDialog();
    modalDialogs.append(dialog.objectName());
    if (!modalHandler) {
        unanswered.append(dialog.objectName());
        return IDCANCEL;
    }
    return modalHandler(dialog);
}

void ScriptedUiService::BeginWaitCursor()
{
    ++waitCursorDepth;
    ++waitCursorCount;
}

void ScriptedUiService::EndWaitCursor()
{
    --waitCursorDepth;
}

bool ScriptedUiService::SetClipboardText(const QString& text)
{
    if (clipboardFails)
        return false;
    clipboardText = text;
    return true;
}

PrintResult ScriptedUiService::Print(const PrintRequest& request, const PagePainter& paint)
{
    printRequests.push_back(request);
    if (printAnswers.empty()) {
        unanswered.append(QStringLiteral("Print ") + request.documentName);
        return PrintResult::Cancelled;
    }
    const std::optional<QString> file = printAnswers.front();
    printAnswers.pop_front();
    if (!file)
        return PrintResult::Cancelled;
    QPdfWriter printer(*file);
    printer.setPageSize(request.paper);
    return paint(printer, 0, 0) ? PrintResult::Printed : PrintResult::Failed;
}

QStringList ScriptedUiService::messageTexts() const
{
    QStringList texts;
    for (const Shown& shown : messages)
        texts.append(shown.text);
    return texts;
}
