#pragma once
// Windows only: what the small dialogs share — their title-bar icon, the
// numeric fields with their up-down controls, the colour swatches and the
// warning about a bad number.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <optional>

void setSmallIcon(HWND dialog, HICON icon);

// Gives the up-down control its range and `value`, and writes `value` into
// its field exactly, also when the range would have clamped it: the field
// shows what is in effect.
void initSpinField(HWND dialog, int fieldId, int spinId, int32_t low, int32_t high, int32_t value);
// The field read as a signed integer: 0 when it is empty or no number.
int32_t fieldValue(HWND dialog, int fieldId);
// The same, but nothing when the field is empty or no number ("-").
std::optional<int32_t> fieldNumber(HWND dialog, int fieldId);

// A rectangle filled with a stored colour (0x00BBGGRR) and outlined with the
// default pen, placed in dialog units so it stays beside its label at any
// dialog font.
struct Swatch {
    RECT dialogUnits;
    uint32_t color;
};
void paintSwatches(HWND dialog, std::initializer_list<Swatch> swatches);

// "パラメータが異常です" with the warning icon and the platform's default caption.
void warnBadParameter(HWND dialog);
