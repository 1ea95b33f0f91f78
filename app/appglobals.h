#pragma once

// Set by the Exit command before it closes the main window, so that the
// save-changes check asks instead of saving silently.
extern bool g_bExiting;
