#include "app/aboutdialog.h"

#include "editor/treeimages.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CAboutDlg::CAboutDlg(const QString& version, QWidget* parent)
    : HandheldDialog(IDD, tr("About Quillon"), parent)
{
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(48, 48));
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* text = new QVBoxLayout;
    text->addWidget(MakeStaticText(tr("Quillon for Pocket PC"), this));
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(MakeStaticText(tr("Version:"), this));
    auto* field = new QLineEdit(version, this);
    field->setObjectName(QString::number(IDC_VERSION));
    field->setReadOnly(true);
    versionRow->addWidget(field, 1);
    text->addLayout(versionRow);
    top->addLayout(text, 1);
    Body()->addLayout(top);
    Body()->addStretch(1);
    SetFirstFocus(OkButton());
}
