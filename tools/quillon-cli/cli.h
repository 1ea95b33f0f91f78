#pragma once

#include <QStringList>

class QIODevice;

// Exit statuses of quillon-cli.
enum CliStatus { CliOk = 0, CliFileFailed = 1, CliBadInput = 2 };

// Runs quillon-cli with its arguments (without the program name), writing
// results to out and messages to err. Returns the exit status.
int RunCli(const QStringList& arguments, QIODevice& out, QIODevice& err);
