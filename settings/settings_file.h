#pragma once
// config.ini on disk: read once at start-up, written at exit and before a
// second instance starts. Errors are silent: a missing or unreadable file
// leaves the defaults, a failed write leaves the previous file as it was.
#include <windows.h>

#include "settings/settings.h"

// The executable's full path, or empty when it does not fit in a path buffer
// (kFilePathLength code units).
std::u16string executablePath();

// Reads s.configPath into `s` and applies the stored window placement to
// `mainWindow` (which may be null). True when the file was read.
bool loadSettings(Settings& s, HWND mainWindow);

// Writes `s` to s.configPath, with the placement of `mainWindow` (not stored
// when it is null or cannot be fetched). True when config.ini now holds it.
bool saveSettings(const Settings& s, HWND mainWindow);
