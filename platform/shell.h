#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class DevicePaths;
class QProcess;
class Registry;

// Starts device programs the way the handheld's shell does. A program is
// found by its file name under the device registry's App Paths key
// (HKEY_LOCAL_MACHINE, SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\<name>), whose default value
// holds the host command (a program and any fixed arguments). The parameters
// follow as one more argument, with a device path (or "file:" and a device
// path) turned into its host path. Execute starts the program detached;
// Launch starts it as a child of the caller's, for callers that must know
// when it has ended and how.
class Shell {
public:
    Shell(const Registry& registry, const DevicePaths& device);
    virtual ~Shell() = default;

    // The show state programs are started with: a normal window.
    static constexpr int kShowNormal = 5;

    // False when the program has no entry or could not be started.
    virtual bool Execute(const QString& verb, const QString& file, const QString& parameters,
                         const QString& directory, int show);

    // The program running, with its standard input and output closed and its
    // errors kept for the caller; nullptr when the program has no entry or
    // could not be started.
    virtual std::unique_ptr<QProcess> Launch(const QString& file, const QString& parameters, const QString& directory);

    // The host command registered for a device program; empty when there is none.
    QString HostCommand(const QString& file) const;
    // The parameters as the host program gets them.
    QString HostParameters(const QString& parameters) const;

    static QString AppPathsKey(const QString& programName);

private:
    // The host program, its arguments and its working folder; false without an entry.
    bool HostInvocation(const QString& file, const QString& parameters, const QString& directory, QString& program,
                        QStringList& arguments, QString& workingDirectory) const;

    const Registry& m_registry;
    const DevicePaths& m_device;
};
