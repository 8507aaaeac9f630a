#pragma once
// The error boxes the commands show, each worded in one place.
#include <windows.h>

// A file that failed to load; the box has no owner window.
void showLoadError(const char16_t* path);
// A save that failed; the caption names the file.
void showSaveError(HWND owner, const char16_t* fileTitle, UINT icon);
// A change refused because memory ran short even after the oldest undo
// entries were given up; the document is as it was.
void showMemoryShortage(HWND owner);
