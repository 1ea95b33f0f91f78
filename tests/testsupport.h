#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <optional>
#include <ostream>
#include <utility>

#include <sys/resource.h>
#include <sys/types.h>

namespace testsupport {

// Bytes written as hex pairs, spaces and dots ignored: "02 00 · FF FF".
QByteArray fromHex(const char* text);
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& data);
// Path of a file below tests/data.
QString dataPath(const QString& name);
// True when the process can ignore file permissions (root), so that
// access-denied cases cannot be produced by chmod.
bool permissionsAreIgnored();

// Runs check in a child process as the unprivileged user "nobody" when this
// process is root (where permissions would not stop it), else in this process.
// The result is check's; false also when the child could not be made.
bool runUnprivileged(const std::function<bool()>& check);
// Lets other users into a folder (QTemporaryDir makes them private).
void openToOthers(const QString& folder);

// A file's owner and group.
using Owner = std::pair<uid_t, gid_t>;
Owner ownerOf(const QString& path);
// Gives a file an owner and group a save by this process would not give it:
// nobody's when root, else another of this user's groups. The new owner and
// group; nullopt when neither can be done here.
std::optional<Owner> handToAnotherOwner(const QString& path);

// What an outside program the tests read files with gave back.
struct ToolRun {
    QString error; // empty when it ran and exited with 0
    QByteArray output;
};
// Runs an installed program (found on PATH) with input on its standard
// input. A program that is missing is an error naming the install script,
// so that a machine without it fails rather than skips.
ToolRun runTool(const QString& program, const QStringList& arguments, const QByteArray& input = {});

// Makes writes past a size fail with EFBIG, as a full disk would, while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved {};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace testsupport

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
