#pragma once
// The canvas view in the main window: what the window reads from its scroll
// bars and the cursor, and what it invalidates, lays out and paints.
#include <windows.h>

#include "app/view_geometry.h"

class Main;

ViewArea viewArea(const Main& main);
int32_t scrollPosition(HWND bar);
CanvasPoint cursorToCanvas(const Main& main, float zoom);

void invalidateView(const Main& main);
void invalidateView(const Main& main, const ViewRect& rect);
void invalidateSelectionFrame(const Main& main);
void updateScrollBars(const Main& main, float oldZoom, float newZoom);

void layOutView(Main& main, int32_t sizeType, int32_t clientWidth, int32_t clientHeight);
void paintView(Main& main);
