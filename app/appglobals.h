#pragma once

#include <QString>

// The caption of the editor's window and of every message box it shows.
inline const QString kAppCaption = QStringLiteral("Quillon");

// Set by the Exit command before it closes the main window, so that the
// save-changes check asks instead of saving silently.
extern bool g_bExiting;
