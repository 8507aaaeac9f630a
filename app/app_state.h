#pragma once
// The view's process-wide values: the zoom and the mouse interaction flags.
#include <cstdint>

// The client point a pan last moved from. The point itself says whether a pan
// is going on: (0, 0) stands for none, so a pan whose anchor lands exactly on
// the client's top-left corner ends there, and a middle-button press at (0, 0)
// starts none.
struct PanAnchor {
    int32_t x = 0;
    int32_t y = 0;
    bool active() const { return x != 0 || y != 0; }
};

struct AppState {
    float zoomFactor = 1.0f;  // screen pixels per canvas pixel
    bool captureHeld = false;
    bool selecting = false;
    bool movingSelection = false;
    PanAnchor panAnchor;
};

AppState& appState();
