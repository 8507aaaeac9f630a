#pragma once
// The texts of the five status panes and of the window title, and what a
// click on the status bar asks for. UTF-16 throughout; the Win32 side hands
// the texts to the status bar and the title bar unchanged.
#include <cstdint>
#include <string>

#include "image/dib.h"

// Status pane indices.
constexpr int kPaneCursor = 0;
constexpr int kPanePixel = 1;
constexpr int kPaneSelection = 2;
constexpr int kPaneZoom = 3;
constexpr int kPaneCopy = 4;

// Right edges of the panes; the last runs to the end of the bar.
constexpr int32_t kPaneEdges[5] = {80, 180, 400, 480, -1};

constexpr char16_t kProgramName[] = u"Plimsett";

// Pane 0: the cursor's canvas position, also outside the canvas.
std::u16string cursorPositionText(int32_t x, int32_t y);

// Pane 1: the pixel under the cursor (alpha, red, green, blue from the top
// byte down), or "--" outside the canvas.
std::u16string pixelValueText(const DIB& canvas, int32_t x, int32_t y);

// Pane 2: the selection's edges and size.
std::u16string selectionText(int32_t left, int32_t top, int32_t right, int32_t bottom);

// Pane 3: the zoom with two decimals, cut rather than rounded.
std::u16string zoomText(float zoom);

// The copy viewer's title: "copy viewer 320x240 [x1.25]", or "copy viewer"
// alone while the CopyBuffer is empty; the zoom is cut like pane 3's.
std::u16string copyViewerTitle(const DIB& copyBuffer, float viewerZoom);

// Pane 4: the CopyBuffer's size, or "--" while there is none.
std::u16string copySizeText(const DIB& copyBuffer);

// "Plimsett[title] *" with a file, "Plimsett *" without; a space replaces the
// star while there are no unsaved changes.
std::u16string windowTitle(const std::u16string& fileTitle, bool unsavedChanges);

// Left click on the status bar at client x: the command to send, or 0.
uint32_t statusClickCommand(int32_t x);

// Right click on the status bar at client x: the menu to show.
enum class StatusMenu {
    None,
    Color,      // the "color" popup menu
    GridSize,   // the menu bar's "オプション(&O)" > "グリッドサイズ(&G)"
    View,       // the menu bar's "表示(&V)"
    Clipboard,  // the "clipboard" popup menu
};
StatusMenu statusRightClickMenu(int32_t x);

// Where the status bar's menus sit in the menu bar.
constexpr int kMenuBarViewPosition = 3;
constexpr int kMenuBarOptionPosition = 4;
constexpr int kOptionGridSizePosition = 1;
