#pragma once
// Windows only: the one colour picker behind every colour button. The
// platform's colour dialog opens fully, with the 16 custom colours of the
// settings as its own; the user's edits of those custom colours are kept.
#include <windows.h>

#include <cstdint>
#include <optional>

// The accepted colour (0x00BBGGRR), pushed to the colour history when that
// is on, or nothing when the user cancelled.
std::optional<uint32_t> pickColor(HWND owner, uint32_t initial);

// Pick colour on one colour setting: an accepted colour is stored in it at
// once (not only when the calling dialog is confirmed) and the owner is
// repainted so its swatches show it. False when the user cancelled.
bool pickColorInto(HWND owner, uint32_t& setting);
