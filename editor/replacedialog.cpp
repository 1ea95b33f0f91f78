#include "editor/replacedialog.h"

#include "editor/detailview.h"
#include "framework/uiservice.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

CReplaceDlg::CReplaceDlg(QWidget* parent)
    : HandheldDialog(IDD, tr("Replace this?"), parent)
{
    SetFullScreen(false);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    Body()->addWidget(MakeStaticText(tr("Replace the selected text?"), this));
    OkButton()->hide(); // this dialog ends only by its four buttons
    MakeButton(CDetailView::IDC_YES, tr("Yes"))->setDefault(true);
    MakeButton(CDetailView::IDC_NO, tr("No"));
    MakeButton(CDetailView::IDC_ALL, tr("All"));
    MakeButton(IDCANCEL, tr("Cancel"));
    // Centred on the main window, 20 pixels above centre.
    SetRaise(20);
}
