#include "platform/hostprograms.h"

#include <QStandardPaths>

namespace {

// One argument as QProcess::splitCommand reads it back: in double quotes,
// each quote inside written as three.
QString QuotedArgument(QString argument)
{
    return QLatin1Char('"') + argument.replace(QLatin1String("\""), QLatin1String("\"\"\"")) + QLatin1Char('"');
}

// kdeconnect-cli shares only with a named device, and which paired device is
// in reach is known only when the file is sent: the first one then is taken.
// The program is $0 and the file $1; without a device it says so and fails.
const char kKdeConnectShare[] =
    "device=$(\"$0\" --list-available --id-only | head -n 1); "
    "if [ -z \"$device\" ]; then echo 'No paired device is reachable through KDE Connect.' >&2; exit 1; fi; "
    "exec \"$0\" --share \"$1\" --device \"$device\"";

} // namespace

QString HostSenderCommand(const std::optional<QString>& searchPath)
{
    const QStringList paths = searchPath ? searchPath->split(QLatin1Char(':'), Qt::SkipEmptyParts) : QStringList();
    for (const char* program : {"bluetooth-sendto", "blueman-sendto"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(program), paths);
        if (!found.isEmpty())
            return found;
    }
    const QString kdeConnect = QStandardPaths::findExecutable(QStringLiteral("kdeconnect-cli"), paths);
    if (!kdeConnect.isEmpty())
        return QStringLiteral("/bin/sh -c ") + QuotedArgument(QString::fromLatin1(kKdeConnectShare)) + QLatin1Char(' ')
            + QuotedArgument(kdeConnect);
    return {};
}

QString HostOpenCommand()
{
    return QStringLiteral("xdg-open");
}
