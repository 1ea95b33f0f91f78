#pragma once

#include <QStringList>

class QIODevice;

// Exit statuses of quillon-cli.
enum CliStatus { CliOk = 0, CliFileFailed = 1, CliBadInput = 2 };

// Whether a command lays out text, which takes the fonts only a GUI
// application has (a PDF export).
bool CliNeedsFonts(const QStringList& arguments);

// Runs quillon-cli with its arguments (without the program name), writing
// results to out and messages to err. Returns the exit status.
int RunCli(const QStringList& arguments, QIODevice& out, QIODevice& err);
