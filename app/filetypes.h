#pragma once

#include <QString>

#include <optional>

class Registry;

// Registers .min files with the device shell (HKEY_CLASSES_ROOT): the type
// "Quillon", its name, and, when the installation folder is known, its icon
// and the command that opens a minute.
void RegisterFileTypes(Registry& registry, const std::optional<QString>& installDir);
