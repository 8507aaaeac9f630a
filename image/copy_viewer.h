#pragma once
// The copy viewer: a modeless window that shows the CopyBuffer at a zoom of
// its own, with scroll bars and hand-dragging. At most one exists; its
// handle is the document's copyViewer while it is open.
#include <windows.h>

#include "app/wnd_base.h"
#include "edit/document.h"

class CopyViewer : public DialogBase {
public:
    explicit CopyViewer(Document& doc) : doc_(doc) {}

    // Creates the viewer owned by `owner`, or shows, activates and refreshes
    // the open one.
    void open(HINSTANCE instance, HWND owner);

    INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void onInitDialog();
    void onRefresh();
    void onSize();
    void onPaint();
    void onScroll(int bar, int request);
    void onMouseWheel(int delta);
    void onButtonDown(int x, int y);
    void onMouseMove(int x, int y);
    void onButtonUp();
    void scrollBy(int dx, int dy);

    Document& doc_;
    float viewerZoom_ = 1.0f;  // screen pixels per CopyBuffer pixel; kept while closed
    POINT dragAnchor_{};       // (0, 0): no drag
    bool captureHeld_ = false;
};
