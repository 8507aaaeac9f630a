#include "app/message_boxes.h"

#include "image/scoped_handles.h"

void showLoadError(const char16_t* path) {
    MessageBoxW(nullptr, L"Load Error", asWide(path), MB_OK | MB_ICONERROR);
}

void showSaveError(HWND owner, const char16_t* fileTitle, UINT icon) {
    MessageBoxW(owner, L"Save Error", asWide(fileTitle), MB_OK | icon);
}

void showMemoryShortage(HWND owner) {
    MessageBoxW(owner, L"メモリが足りないため、この操作は行われませんでした。", L"メモリ不足",
                MB_OK | MB_ICONERROR);
}
