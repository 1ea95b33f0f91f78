#include "platform/hostprograms.h"

#include <QStandardPaths>

QString HostSenderCommand(const std::optional<QString>& searchPath)
{
    struct Sender {
        const char* program;
        const char* arguments;
    };
    static const Sender kSenders[] = {{"bluetooth-sendto", ""}, {"blueman-sendto", ""}, {"kdeconnect-cli", " --share"}};
    const QStringList paths = searchPath ? searchPath->split(QLatin1Char(':'), Qt::SkipEmptyParts) : QStringList();
    for (const Sender& sender : kSenders) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(sender.program), paths);
        if (!found.isEmpty())
            return found + QString::fromLatin1(sender.arguments);
    }
    return {};
}

QString HostOpenCommand()
{
    return QStringLiteral("xdg-open");
}
