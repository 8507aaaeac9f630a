#include "app/wnd_base.h"

LRESULT WndBase::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CREATE) return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* object = static_cast<WndBase*>(create->lpCreateParams);
    if (!object) return DefWindowProcW(hwnd, message, wParam, lParam);
    // Slot 0 is pointer-sized, so the same code serves both Windows builds.
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(object));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InstanceWndProc));
    return object->WndProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK InstanceWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<WndBase*>(GetWindowLongPtrW(hwnd, 0));
    if (!object) return DefWindowProcW(hwnd, message, wParam, lParam);
    return object->WndProc(hwnd, message, wParam, lParam);
}
