#pragma once
// Every stored setting between the Settings record and config.ini text: each
// key's section, read rule and written form. The file itself is read and
// written by the Win32 code (settings_file.cpp).
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"

// Reads every stored setting from config.ini text into `s`, key by key in the
// file's order. A missing key, or a value its read rule rejects, keeps the
// current value. Returns the window placement when `wndSize` holds a valid
// block; the caller applies it to the main window.
std::optional<WindowPlacement> loadSettingsFromIni(std::string_view text, Settings& s);

// The config.ini text holding every stored setting in its written form, in the
// file's order. `existing` is the current file text: its other lines (user
// comments, unknown keys) are kept and known keys are updated where they
// stand, as the platform's profile functions would. `wndSize` is written only
// when a placement is given.
std::string writeSettingsIni(const Settings& s, const std::optional<WindowPlacement>& placement,
                             std::string_view existing = {});

// The placement to store: a minimised window comes back maximised when it had
// been maximised before minimising, otherwise restored; never minimised.
WindowPlacement placementForSaving(WindowPlacement placement);
