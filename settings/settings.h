#pragma once
// The one process-wide record of the stored settings, named by their
// config.ini keys: read at start-up, changed in memory at once, written at
// exit. The document itself (canvas, CopyBuffer, selection, file, undo
// history) is the main window's Document.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/color_history.h"

static_assert(std::endian::native == std::endian::little,
              "the stored blocks are the little-endian bytes of these structs");

struct IntPair {
    int32_t x = 0, y = 0;
    bool operator==(const IntPair&) const = default;
};

struct ImageSize {
    int32_t width = 0, height = 0;
    bool operator==(const ImageSize&) const = default;
};

// Parameters of the font image generator, stored as one 100-byte block.
struct FontImageParams {
    int32_t cellWidth = 32;
    int32_t cellHeight = 32;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    int32_t fontSize = 32;
    char16_t faceName[32] = u"MS UI Gothic";  // NUL-terminated, at most 31 characters
    uint8_t style = kAntiAliased;             // the style bits below
    uint8_t padding[3] = {};                  // kept as read
    uint32_t textColor = 0xFFFFFF;
    uint32_t backColor1 = 0x000000;  // cells whose row + column is odd
    uint32_t backColor2 = 0x000000;  // cells whose row + column is even

    static constexpr uint8_t kBold = 0x01;
    static constexpr uint8_t kItalic = 0x02;
    static constexpr uint8_t kUnderline = 0x04;
    static constexpr uint8_t kStrikeOut = 0x08;
    static constexpr uint8_t kAntiAliased = 0x10;
};
static_assert(sizeof(FontImageParams) == 100);
static_assert(offsetof(FontImageParams, fontSize) == 16);
static_assert(offsetof(FontImageParams, faceName) == 20);
static_assert(offsetof(FontImageParams, style) == 84);
static_assert(offsetof(FontImageParams, padding) == 85);
static_assert(offsetof(FontImageParams, textColor) == 88);
static_assert(offsetof(FontImageParams, backColor1) == 92);
static_assert(offsetof(FontImageParams, backColor2) == 96);

// The platform's window-placement record, same layout as WINDOWPLACEMENT.
struct WindowPlacement {
    uint32_t length = sizeof(WindowPlacement);
    uint32_t flags = 0;
    uint32_t showCmd = 0;
    IntPair minPosition;
    IntPair maxPosition;
    int32_t normalLeft = 0, normalTop = 0, normalRight = 0, normalBottom = 0;

    // The platform's values, checked against <windows.h> in the Win32 code.
    static constexpr uint32_t kShowMinimized = 2;       // SW_SHOWMINIMIZED
    static constexpr uint32_t kShowMaximized = 3;       // SW_SHOWMAXIMIZED
    static constexpr uint32_t kMinimize = 6;            // SW_MINIMIZE
    static constexpr uint32_t kRestore = 9;             // SW_RESTORE
    static constexpr uint32_t kRestoreToMaximized = 2;  // WPF_RESTORETOMAXIMIZED
};
static_assert(sizeof(WindowPlacement) == 44);
static_assert(offsetof(WindowPlacement, minPosition) == 12);
static_assert(offsetof(WindowPlacement, normalLeft) == 28);

struct Settings {
    // [window]
    ImageSize newImageSize{256, 256};
    int32_t filterIndexNormal = 0;
    int32_t filterIndexMask = 0;
    // [grid]. The selection works with its own copy of the grid (size and
    // offset): it takes these at start-up and gives them back before saving.
    IntPair wndPos;            // grid dialog position; 0, 0 = never placed
    IntPair gridSize{32, 32};  // size
    IntPair gridCorrect;       // correct: the grid's offset
    // [colors], all 0x00BBGGRR
    uint32_t back = 0xFF00FF;
    CustomColors colors{};
    uint32_t before = 0xFF00FF;
    uint32_t after = 0x000000;
    // [option]
    bool checkFileCopy = true;
    bool autoResize = true;
    bool copyOutOfRect = true;
    bool alphaMode = false;
    int32_t ddActionType = 3;  // D&DActionType
    int32_t zoomType = 0;      // ZoomType
    int32_t undoLimit = 100;   // Undo: the most entries the undo history keeps
    // [font]
    FontImageParams fontParams;  // data
    // [fileList]
    IntPair pos;  // image file list position; 0, 0 = never placed
    bool moveCurSel = true;
    bool moveSelect = true;
    bool returnSelect = true;
    // [trans]
    int32_t boxSize = 8;
    uint32_t color1 = 0xFFFFFF;
    uint32_t color2 = 0xB0B0B0;

    // Not stored: starts on in every run.
    bool colorHistory = true;

    // Where config.ini lives, set by the program at start (beside the
    // executable); while it is empty settings are neither read nor written.
    std::u16string configPath;
};

// The single instance, built on first use with every default.
Settings& settings();

// Replaces the instance by a fresh one with every default, for tests that
// start the program more than once in one process. References to the old
// instance become invalid.
void resetSettings();

// config.ini in the folder of `exePath`; empty when `exePath` is empty or the
// result would not fit in a path buffer.
std::u16string configPathBeside(std::u16string_view exePath);
