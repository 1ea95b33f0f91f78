#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace testsupport {

QByteArray fromHex(const char* text)
{
    QByteArray digits;
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
            digits.append(c);
    }
    return QByteArray::fromHex(digits);
}

ToolRun runTool(const QString& program, const QStringList& arguments, const QByteArray& input)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return {program + QStringLiteral(" is not installed (scripts/install-deps.sh installs it)"), {}};
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForStarted())
        return {program + QStringLiteral(" did not start"), {}};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {program + QStringLiteral(" failed: ") + QString::fromUtf8(process.readAllStandardError()), {}};
    return {QString(), process.readAllStandardOutput()};
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(data) == data.size();
}

QString dataPath(const QString& name)
{
    return QStringLiteral(QUILLON_TEST_DATA "/") + name;
}

bool permissionsAreIgnored()
{
    return ::geteuid() == 0;
}

bool runUnprivileged(const std::function<bool()>& check)
{
    if (!permissionsAreIgnored())
        return check();
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        return false;
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
            ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void openToOthers(const QString& folder)
{
    QFile::setPermissions(folder, QFile::permissions(folder) | QFileDevice::ReadOther | QFileDevice::ExeOther);
}

Owner ownerOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {uid_t(-1), gid_t(-1)};
    return {info.st_uid, info.st_gid};
}

std::optional<Owner> handToAnotherOwner(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (permissionsAreIgnored()) {
        const passwd* nobody = ::getpwnam("nobody");
        const Owner owner{nobody ? nobody->pw_uid : 65534, nobody ? nobody->pw_gid : 65534};
        if (::chown(native.constData(), owner.first, owner.second) != 0)
            return std::nullopt;
        return owner;
    }
    std::vector<gid_t> groups(size_t(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(size_t(std::max(::getgroups(int(groups.size()), groups.data()), 0)));
    for (const gid_t group : groups) {
        if (group != ::getegid() && ::chown(native.constData(), uid_t(-1), group) == 0)
            return Owner{::geteuid(), group};
    }
    return std::nullopt;
}

} // namespace testsupport
