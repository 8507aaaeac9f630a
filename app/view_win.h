#pragma once
// The canvas view in the main window: what the window reads from its scroll
// bars and the cursor, and what it invalidates, lays out and paints.
#include <windows.h>

#include "app/view_geometry.h"

class Main;

ViewArea viewArea(const Main& main);
int32_t scrollPosition(HWND bar);
// Writes a bar's position and redraws it; the bar clamps it to its range.
void setScrollPosition(HWND bar, int32_t position);
// A SCROLLINFO asking for, or setting, the members named in `mask`.
SCROLLINFO scrollInfo(UINT mask);
CanvasPoint cursorToCanvas(const Main& main, float zoom);

void invalidateView(const Main& main);
void invalidateView(const Main& main, const ViewRect& rect);
void invalidateSelectionFrame(const Main& main);
void invalidateSelectionFrame(const Main& main, const CanvasRect& selection);
void updateScrollBars(const Main& main, float oldZoom, float newZoom);
// After an edit or an undo step: the bars follow a canvas that changed size,
// and otherwise the view stays where the user left it.
void fitScrollBarsToCanvas(const Main& main);

// A scroll message for one bar (request: an SB_ code). Thumb requests take
// the bar's 32-bit track position, so positions past 32767 survive.
void scrollView(Main& main, bool vertical, int32_t request);
// Moves one bar to `position` as a thumb request would, without squeezing
// the position through 16 bits.
void scrollViewTo(Main& main, bool vertical, int32_t position);
void sendScroll(const Main& main, bool vertical, int32_t request);

// The zoom commands (ID_VIEW_ZOOM_0_5 ... ID_VIEW_ZOOM_OUT) and the page commands
// (ID_VIEW_PAGE_UP ... ID_VIEW_PAGE_RIGHT); false for other ids.
bool runViewCommand(Main& main, uint32_t id);

void layOutView(Main& main, int32_t sizeType, int32_t clientWidth, int32_t clientHeight);
void paintView(Main& main);
