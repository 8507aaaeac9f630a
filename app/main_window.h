#pragma once
// The one main window: its children, icons, menus, back buffer and the
// message loop that runs for the life of the process.
#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "app/wnd_base.h"
#include "edit/document.h"
#include "edit/edit_command.h"
#include "dialogs/file_list_dialog.h"
#include "image/copy_viewer.h"
#include "image/dib_section.h"

class Main : public WndBase {
public:
    Main();
    ~Main() override;

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual int Run(HINSTANCE instance, HINSTANCE previousInstance, PWSTR commandLine,
                    int showCommand);

    // Run in three steps, so a test can drive the real window in between:
    // start creates and shows everything (false: Run would return -1),
    // processMessage is one turn of the loop, finish cleans up.
    // `commandLine` is the whole command line, the program's name first.
    bool start(HINSTANCE instance, const wchar_t* commandLine);
    void processMessage(MSG& msg);
    void finish();

    Document& document() { return document_; }
    const Document& document() const { return document_; }

    HWND statusBar = nullptr;
    HWND hScroll = nullptr;
    HWND vScroll = nullptr;
    HMENU popupMenu = nullptr;
    HMENU clipboardMenu = nullptr;
    HMENU colorMenu = nullptr;
    HMENU dropMenu = nullptr;
    int32_t initialWidth = 640;
    int32_t initialHeight = 480;
    DIBSection BackBuffer;
    HICON iconPosition = nullptr;
    HICON iconAlphaOff = nullptr;
    HICON iconAlphaOn = nullptr;
    HICON iconZoom = nullptr;
    RECT clientRect{};
    RECT statusRect{};
    RECT hScrollRect{};
    RECT vScrollRect{};

private:
    // Message handlers of the main window itself.
    void onCreate(HWND hwnd);
    void onActivate(WORD state);
    bool onAppCommand(LPARAM lParam);  // false: not one of ours
    bool onClose();                    // false: the user chose to stay
    void onDestroy();
    void onFullRefresh();
    void onTimer(UINT_PTR id);
    void onCommand(WORD id);

    // The clipboard listener, dropped files and the copy-data commands.
    void onClipboardUpdate(WPARAM check);
    void onDropFiles(HDROP drop);
    bool runClipboardCommand(WORD id);

    // The editing commands, and how their results are shown.
    bool runEditCommand(WORD id);
    void showEdit(const EditResult& outcome);
    void showUndoStep();
    // Counts a document event and shows the title that follows from it.
    void count(DocumentEvent event);

    // The document and file commands: saving, opening, replacing the
    // document, the tool windows, a second instance, the command line.
    bool runDocumentCommand(WORD id);
    void saveDocument();
    void saveDocumentAs();
    void saveImageAside(const DIB& image, bool pauseBlink);
    void saveSelection();
    void saveMask();
    void openDropPath();
    void openCommandLine();

    // The commands that open the small dialogs (new canvas, configuration,
    // grid, change colour, version), defined beside the dialogs.
    bool runDialogCommand(WORD id);
    void copyBufferChanged();

    // config.ini written now, with the selection's grid.
    void saveSettingsNow();

    // Mouse and keys on the canvas.
    void onMouseMove(int x, int y);
    void onLButtonDown(int x, int y, WPARAM keys);
    void onLButtonUp();
    void onLButtonDblClk(WPARAM keys);
    void onRButtonUp(int x, int y);
    void onMButtonDown(int x, int y);
    void onMButtonUp();
    void onMouseWheel(int delta);
    void onKeyDown(WPARAM key);
    void onKeyUp(WPARAM key);
    void takeCapture();
    void giveUpCapture();
    void onCaptureChanged();
    void takeColorUnderCursor(bool intoAfter);
    bool runSelectionCommand(WORD id);

    // Status bar clicks and menu states.
    void onNotify(const NMHDR* header);
    void updateMenuStates();

    HINSTANCE instance_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HMENU popupMenuResource_ = nullptr;
    Document document_;
    std::vector<std::u16string> arguments_;  // the command line after the program's name
    CopyViewer copyViewer_{document_};
    FileListDialog fileList_{document_};
};

// The main window's class name: a fixed stamp no other program's class
// shares, by which whoever looks for the running program (the tests among
// them) finds its window.
constexpr wchar_t kMainWindowClass[] = L"Tue Mar 10 22:32:43 2020";

// WM_CLIPBOARDUPDATE's wParam when we post the clipboard check ourselves (at
// start, and on activation while an update waits). The system's own
// notifications carry 0, so any other value tells them apart; this is 0xBEAF.
constexpr WPARAM kClipboardCheckTag = 48815;
// The file at the document's dropPath into `target`; a path that did not fit
// is not opened.
bool loadDropPath(const Document& doc, DIB& target);

constexpr UINT_PTR kBlinkTimer = 1;
constexpr UINT kBlinkPeriodMs = 500;
