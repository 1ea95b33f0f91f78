#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <ostream>

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

} // namespace testsupport

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
