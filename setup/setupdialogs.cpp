#include "setup/setupdialogs.h"

#include "platform/ansicodepage.h"
#include "setup/setupui.h"

#include <QBoxLayout>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QLabel* StaticText(QWidget* parent, int id, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::number(id));
    label->setWordWrap(true);
    return label;
}

// The two buttons every Setup dialog ends with: its own OK and Cancel.
void AddButtons(QDialog* dialog, QBoxLayout* layout, const QString& okText)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(okText, dialog);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QObject::tr("Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("2"));
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

} // namespace

CIntroDlg::CIntroDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(kSetupCaption);
    // Its own button on the task bar: it is the first thing the user sees.
    setWindowFlag(Qt::Window);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StaticText(this, 1001, QStringLiteral("Quillon for Pocket PCs is about to be installed to your Windows CE device.")));
    layout->addWidget(StaticText(this, 1002,
                           QStringLiteral("At this point, you should ensure that your device is connected. If it is connected and "
                                          "you want to install click the 'Install' button, otherwise click the 'Cancel' button.")));
    AddButtons(this, layout, tr("Install"));
    resize(420, 200);
}

CLicenseDlg::CLicenseDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("License Agreement"));
    auto* layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QString::number(IDC_TEXT));
    m_text->setReadOnly(true);
    layout->addWidget(m_text, 1);
    layout->addWidget(StaticText(this, 1002,
                           QStringLiteral("The above text represents the license agreement between you and the developer of the "
                                          "software you are about to install.")));
    layout->addWidget(StaticText(this, 1003,
                           QStringLiteral("If you agree to the terms of the agreement you should click the 'OK' button to continue "
                                          "the installation, otherwise you must click the 'Cancel' button.")));
    AddButtons(this, layout, tr("OK"));
    resize(560, 480);
}

void CLicenseDlg::OnInitDialog()
{
    QFile file(QDir::currentPath() + QStringLiteral("/license.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        m_text->setPlainText(QStringLiteral("License file not found!"));
        return;
    }
    // The whole file as single-byte text; a terminating zero ends it, not shows in it.
    QByteArray bytes = file.readAll();
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    m_text->setPlainText(DecodeAnsi(bytes.constData(), bytes.size()));
}

QString CLicenseDlg::Text() const
{
    return m_text->toPlainText();
}

CReadyDlg::CReadyDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Ready to start download"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StaticText(this, 1000,
                           QStringLiteral("The Windows(R) CE Application Manager is about to be launched in order to download the "
                                          "application and associated files to your CE device.\n\nClick 'Download' when ready "
                                          "or 'Cancel' to abort the install.")));
    AddButtons(this, layout, tr("Download"));
    resize(420, 200);
}
