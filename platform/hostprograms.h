#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The host's programs that stand in for the handheld's own.

// The first way found on the host to send a file to a nearby device, as a
// command line (as QProcess::splitCommand reads it) to which the file is
// added: bluetooth-sendto, blueman-sendto, or kdeconnect-cli sharing with the
// first paired device in reach. Empty when there is none. searchPath (a PATH
// value) replaces the process's PATH when given.
QString HostSenderCommand(const std::optional<QString>& searchPath = std::nullopt);

// The program that opens a file in the desktop's viewer for it.
QString HostOpenCommand();
