#include "app/main_window.h"

#include <commctrl.h>

#include "app/process_icons.h"
#include "app/status_bar.h"
#include "app/status_text.h"
#include "app/app_state.h"
#include "app/view_win.h"
#include "edit/pixel_ops.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

namespace {

HICON loadSmallIcon(HINSTANCE instance, int id) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
}

}  // namespace

ProcessIcons& processIcons() {
    static ProcessIcons icons;
    return icons;
}

Main::Main() {
    InitCommonControls();
    BackBuffer.create(640, 480);
}

Main::~Main() = default;

int Main::Run(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (!start(instance, GetCommandLineW())) return -1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) processMessage(msg);
    finish();
    return static_cast<int>(msg.wParam);
}

bool Main::start(HINSTANCE instance, const wchar_t* commandLine) {
    instance_ = instance;
    arguments_.clear();
    int count = 0;
    if (LPWSTR* words = CommandLineToArgvW(commandLine, &count)) {
        for (int i = 1; i < count; ++i)
            arguments_.emplace_back(reinterpret_cast<const char16_t*>(words[i]));
        LocalFree(words);
    }

    ProcessIcons& icons = processIcons();
    icons.app = loadSmallIcon(instance, IDI_APP);
    iconPosition = loadSmallIcon(instance, IDI_POSITION);
    iconAlphaOff = loadSmallIcon(instance, IDI_ALPHA_OFF);
    iconAlphaOn = loadSmallIcon(instance, IDI_ALPHA_ON);
    icons.selection = loadSmallIcon(instance, IDI_SELECTION);
    iconZoom = loadSmallIcon(instance, IDI_ZOOM);
    icons.copy = loadSmallIcon(instance, IDI_COPY);
    icons.config = loadSmallIcon(instance, IDI_CONFIG);
    icons.newCanvas = loadSmallIcon(instance, IDI_NEW);
    icons.font = loadSmallIcon(instance, IDI_FONT);
    icons.fileList = loadSmallIcon(instance, IDI_FILELIST);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = WndBase::StaticWndProc;
    windowClass.cbWndExtra = 8;
    windowClass.hInstance = instance;
    windowClass.hIcon = icons.app;
    windowClass.hIconSm = icons.app;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MENU_MAIN);
    windowClass.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&windowClass)) return false;

    int width = initialWidth + GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXDLGFRAME) +
                GetSystemMetrics(SM_CXBORDER);
    int height = initialHeight + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYEDGE) +
                 GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYBORDER);
    hwnd = CreateWindowExW(0, kMainWindowClass, L"Plimsett", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, width, height, nullptr, nullptr, instance, this);
    if (!hwnd) return false;

    // Both scroll bars carry id 1; they are told apart by handle.
    hScroll = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 16, hwnd,
                              reinterpret_cast<HMENU>(1), instance, nullptr);
    vScroll = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 20, 16,
                              200, hwnd, reinterpret_cast<HMENU>(1), instance, nullptr);
    statusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, nullptr,
                                    hwnd, kStatusBarId);
    if (!statusBar) return false;

    SendMessageW(statusBar, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(kPaneEdges));
    SendMessageW(statusBar, SB_SETICON, kPaneCursor, reinterpret_cast<LPARAM>(iconPosition));
    SendMessageW(statusBar, SB_SETICON, kPaneSelection, reinterpret_cast<LPARAM>(icons.selection));
    SendMessageW(statusBar, SB_SETICON, kPaneZoom, reinterpret_cast<LPARAM>(iconZoom));
    SendMessageW(statusBar, SB_SETICON, kPaneCopy, reinterpret_cast<LPARAM>(icons.copy));

    GetClientRect(hwnd, &clientRect);
    GetClientRect(hScroll, &hScrollRect);
    GetClientRect(vScroll, &vScrollRect);
    GetClientRect(statusBar, &statusRect);

    popupMenuResource_ = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MENU_POPUP));
    popupMenu = GetSubMenu(popupMenuResource_, POPUP_POS_CANVAS);
    clipboardMenu = GetSubMenu(popupMenuResource_, POPUP_POS_CLIPBOARD);
    colorMenu = GetSubMenu(popupMenuResource_, POPUP_POS_COLOR);
    dropMenu = GetSubMenu(popupMenuResource_, POPUP_POS_DROP);

    Settings& s = settings();
    loadSettings(s, hwnd);

    // The document: the selection takes the stored grid, the canvas is the
    // stored new-image size in the background colour at alpha 0.
    Document& doc = document_;
    doc.selection.gw = s.gridSize.x;
    doc.selection.gh = s.gridSize.y;
    doc.selection.cx = s.gridCorrect.x;
    doc.selection.cy = s.gridCorrect.y;
    updateSelection(doc.selection);
    if (doc.canvas.create(s.newImageSize.width, s.newImageSize.height))
        doc.canvas.fillRect(0, 0, doc.canvas.width(), doc.canvas.height(), pixelOf(s.back));

    showAlphaModeIcon(*this);
    showSelectionStatus(*this);
    updateScrollBars(*this, 1.0f, 1.0f);
    showZoomStatus(*this);
    showCopyStatus(*this);
    showTitle(*this);

    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);

    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATOR1));
    PostMessageW(hwnd, WM_COMMAND, ID_FILE_OPEN_COMMAND_LINE, 0);
    return true;
}

void Main::processMessage(MSG& msg) {
    // Escape always goes to the main window (it closes the grid dialog) and
    // never reaches the other dialogs.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        SendMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, msg.lParam);
        return;
    }
    const Document& doc = document_;
    for (void* dialog :
         {doc.gridDialog, doc.copyViewer, doc.changeColorDialog, doc.fileListDialog}) {
        if (dialog && IsDialogMessageW(static_cast<HWND>(dialog), &msg)) return;
    }
    if (accelerators_ && TranslateAcceleratorW(hwnd, accelerators_, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Main::finish() {
    // The status bar went with the main window, so its panes hold no icons
    // any more; the icons themselves are ours to destroy.
    if (popupMenuResource_) DestroyMenu(popupMenuResource_);
    popupMenuResource_ = nullptr;
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    accelerators_ = nullptr;

    ProcessIcons& icons = processIcons();
    for (HICON* icon :
         {&icons.app, &iconPosition, &iconAlphaOff, &iconAlphaOn, &icons.selection, &iconZoom,
          &icons.copy, &icons.config, &icons.newCanvas, &icons.font, &icons.fileList}) {
        if (*icon) DestroyIcon(*icon);
        *icon = nullptr;
    }
    UnregisterClassW(kMainWindowClass, instance_);
}
