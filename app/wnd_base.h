#pragma once
// A window object whose messages reach a virtual window procedure.
#include <windows.h>

class WndBase {
public:
    virtual ~WndBase() = default;
    virtual LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// The procedure registered with the window class: it hands WM_CREATE to the
// object named in the creation parameters and then steps aside for
// InstanceWndProc. Messages before WM_CREATE get default handling.
LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK InstanceWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
