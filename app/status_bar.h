#pragma once
// The five status panes and the window title, each brought up to date from
// the current state.
#include <string>
#include <string_view>

class Main;

constexpr int kStatusBarId = 2000;

void showCursorStatus(const Main& main);
void showSelectionStatus(const Main& main);
void showZoomStatus(const Main& main);
void showCopyStatus(const Main& main);
void showAlphaModeIcon(const Main& main);
void showTitle(const Main& main);

// char16_t and wchar_t are both UTF-16 on Windows.
std::wstring toWide(std::u16string_view text);
