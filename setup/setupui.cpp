#include "setup/setupui.h"

#include <QDialog>
#include <QMessageBox>

void QtSetupUi::MessageBox(const QString& text, const QString& caption, Icon icon, QWidget* owner)
{
    QMessageBox box(icon == Information ? QMessageBox::Information : icon == Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok, owner);
    box.exec();
}

int QtSetupUi::RunModal(QDialog& dialog)
{
    return dialog.exec();
}

void ScriptedSetupUi::MessageBox(const QString& text, const QString& caption, Icon icon, QWidget* owner)
{
    messages.push_back({text, caption, icon, owner != nullptr});
}

int ScriptedSetupUi::RunModal(QDialog& dialog)
{
    dialogs.push_back(dialog.objectName());
    return dialogHandler ? dialogHandler(dialog) : int(QDialog::Rejected);
}
