#pragma once
// The main window's process-wide values that live outside the Settings
// record: the zoom, the mouse interaction flags and the clipboard wait flag.
#include <cstdint>

struct PanAnchor {
    int32_t x = 0;
    int32_t y = 0;
    bool active() const { return x != 0 || y != 0; }  // (0, 0) means no pan
};

struct AppState {
    float zoomFactor = 1.0f;  // screen pixels per canvas pixel
    bool clipboardPending = false;
    bool captureHeld = false;
    bool selecting = false;
    bool movingSelection = false;
    PanAnchor panAnchor;
    // The one file the file commands 40400-40403 act on. A path too long for
    // it is kept cut and marked, and then never opened: it names another file.
    char16_t dropPath[520] = {};
    bool dropPathCut = false;
};

AppState& appState();
