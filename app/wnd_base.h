#pragma once
// Window and dialog objects whose messages reach a virtual procedure. One
// static procedure per kind takes the object from the creation parameters,
// stores it and the window handle, and hands every later message to it.
#include <windows.h>

class WndBase {
public:
    WndBase() = default;
    WndBase(const WndBase&) = delete;
    WndBase& operator=(const WndBase&) = delete;
    virtual ~WndBase() = default;
    virtual LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // The procedure registered with the window class. The object comes in the
    // creation parameters of CreateWindowExW and is known from WM_NCCREATE on;
    // the handle is null again once the window is gone.
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;
};

// Asks a window to show its state anew: the main window refreshes view,
// scroll bars, status panes and title; a tool window reloads what it shows.
constexpr UINT kMsgRefresh = WM_USER + 1;

// A tool window that exists already is shown and activated instead of made
// again; false when `window` (an HWND, or null while closed) is not open.
bool bringForward(void* window);

// A dialog made from a template: modeless (create) or modal (runModal).
class DialogBase {
public:
    DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    virtual ~DialogBase();

    // The dialog's handling of a message; FALSE passes it to the platform's
    // dialog handling. WM_INITDIALOG is the first message it sees.
    virtual INT_PTR DlgProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    HWND create(HINSTANCE instance, int templateId, HWND owner);
    INT_PTR runModal(HINSTANCE instance, int templateId, HWND owner);

    HWND hwnd = nullptr;

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
