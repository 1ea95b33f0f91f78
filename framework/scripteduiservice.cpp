#include "framework/scripteduiservice.h"

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

QStringList ScriptedUiService::messageTexts() const
{
    QStringList texts;
    for (const Shown& shown : messages)
        texts.append(shown.text);
    return texts;
}
