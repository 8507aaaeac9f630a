#pragma once
// The icons loaded once for the whole process and shared by the dialogs.
#include <windows.h>

struct ProcessIcons {
    HICON app = nullptr;        // window class, change-colour and version dialogs
    HICON selection = nullptr;  // status pane 2, grid dialog
    HICON copy = nullptr;       // status pane 4, copy viewer
    HICON config = nullptr;     // configuration dialog
    HICON newCanvas = nullptr;  // new canvas dialog
    HICON font = nullptr;       // font image generator
    HICON fileList = nullptr;   // image file list
};

ProcessIcons& processIcons();
