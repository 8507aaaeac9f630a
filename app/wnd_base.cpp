#include "app/wnd_base.h"

LRESULT WndBase::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK WndBase::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WndBase* object = nullptr;
    if (message == WM_NCCREATE) {
        object = static_cast<WndBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        // Slot 0 is pointer-sized, so the same code serves both Windows builds.
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(object));
        if (object) object->hwnd = window;
    } else {
        object = reinterpret_cast<WndBase*>(GetWindowLongPtrW(window, 0));
    }
    if (!object) return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = object->WndProc(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        object->hwnd = nullptr;
    }
    return result;
}

bool bringForward(void* window) {
    if (!window) return false;
    ShowWindow(static_cast<HWND>(window), SW_SHOW);
    SetActiveWindow(static_cast<HWND>(window));
    return true;
}

DialogBase::~DialogBase() {
    // The derived part is gone already: the window must not reach it.
    if (hwnd) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        DestroyWindow(hwnd);
    }
}

HWND DialogBase::create(HINSTANCE instance, int templateId, HWND owner) {
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner, StaticDlgProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR DialogBase::runModal(HINSTANCE instance, int templateId, HWND owner) {
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, StaticDlgProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogBase::StaticDlgProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    DialogBase* object = nullptr;
    if (message == WM_INITDIALOG) {
        object = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        if (object) object->hwnd = window;
    } else {
        object = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) have no object yet.
    if (!object) return FALSE;
    const INT_PTR result = object->DlgProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        object->hwnd = nullptr;
    }
    return result;
}
