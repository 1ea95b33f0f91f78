#include "editor/mainframe.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setOrganizationName(QStringLiteral("Corvexa"));

    CMainFrame frame;
    frame.resize(480, 640);
    frame.show();

    // A smoke run: start, show the window, and leave.
    if (app.arguments().contains(QStringLiteral("--self-test"))) {
        QTimer::singleShot(0, &app, [] { QApplication::exit(0); });
    }
    return app.exec();
}
