#pragma once
// The view's process-wide values: the zoom and the mouse interaction flags.
#include <cstdint>

struct PanAnchor {
    int32_t x = 0;
    int32_t y = 0;
    bool active() const { return x != 0 || y != 0; }  // (0, 0) means no pan
};

struct AppState {
    float zoomFactor = 1.0f;  // screen pixels per canvas pixel
    bool captureHeld = false;
    bool selecting = false;
    bool movingSelection = false;
    PanAnchor panAnchor;
};

AppState& appState();
