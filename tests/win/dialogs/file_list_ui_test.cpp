// The image file list in the real main window: files in, sprite sheets out.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/file_list_dialog.h"
#include "image/image_writer.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

namespace fs = std::filesystem;

// The pixel of frame `n` of a sheet: each frame is one flat colour.
uint32_t frameColor(int n) { return 0x80000000u | static_cast<uint32_t>(n * 0x010203 + 7); }

// Frames frame000.png ... in `folder`, each w x h of its own colour.
std::vector<std::wstring> writeFrames(const fs::path& folder, int count, int32_t w, int32_t h) {
    std::vector<std::wstring> paths;
    for (int n = 0; n < count; ++n) {
        const fs::path path = folder / (L"frame" + std::to_wstring(n) + L".png");
        DIB frame(w, h);
        frame.fillRect(0, 0, w, h, frameColor(n));
        EXPECT_TRUE(writePng32(path.u16string().c_str(), frame));
        paths.push_back(path.wstring());
    }
    return paths;
}

struct FileList {
    UiSession& ui;
    HWND window() const { return static_cast<HWND>(sessionDocument().fileListDialog); }
    HWND list() const { return GetDlgItem(window(), IDC_FILE_LIST); }
    void open() {
        SendMessageW(ui.hwnd(), WM_COMMAND, ID_OPTION_FILE_LIST, 0);
        ui.pump();
    }
    void drop(const std::vector<std::wstring>& paths) {
        SendMessageW(window(), WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(paths)), 0);
    }
    void press(WORD id) {
        SendMessageW(window(), WM_COMMAND, id, 0);
        ui.pump();
    }
    int count() const { return static_cast<int>(SendMessageW(list(), LB_GETCOUNT, 0, 0)); }
    int selected() const { return static_cast<int>(SendMessageW(list(), LB_GETCURSEL, 0, 0)); }
    std::wstring entry(int i) const {
        wchar_t text[600] = {};
        SendMessageW(list(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        return text;
    }
};

void startSheet(int32_t w, int32_t h) {
    Document& doc = sessionDocument();
    ASSERT_TRUE(doc.canvas.create(w, h));
    doc.canvas.fillRect(0, 0, w, h, 0);
    Selection& s = doc.selection;
    s.gw = s.gh = 32;
    s.x1 = s.y1 = s.x2 = s.y2 = 0;
    updateSelection(s);
}

}  // namespace

using UiFileList = UiTest;

TEST_F(UiFileList, PastesLayFramesOutRowByRowAndFailuresChangeNothing) {
    struct Case {
        const char* what;
        bool returnSelect, autoResize, mask;
        int pastes;
        int32_t canvasWidth;        // afterwards
        int32_t lastLeft, lastTop;  // the selection afterwards
        size_t undoEntries;
    } cases[] = {
        {"eight cells, back to the first", true, false, false, 8, 128, 0, 0, 8},
        {"no wrapping: the fifth paste fails", false, false, false, 5, 128, 128, 0, 4},
        {"growing sheet", false, true, false, 6, 192, 192, 0, 6},
        {"masks never grow the sheet", false, true, true, 5, 128, 128, 0, 4},
    };
    const std::vector<std::wstring> frames = writeFrames(folder.path(), 8, 32, 32);
    FileList files{ui};
    files.open();
    files.drop(frames);
    Settings& s = settings();
    s.moveSelect = true;
    s.moveCurSel = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startSheet(128, 64);
        sessionDocument().undoHistory.clearAll();
        s.returnSelect = c.returnSelect;
        s.autoResize = c.autoResize;
        for (int i = 0; i < c.pastes; ++i) {
            SendMessageW(files.list(), LB_SETCURSEL, i % 8, 0);
            files.press(c.mask ? ID_COLOR_PASTE_MASK : ID_EDIT_PASTE);
            if (i == 3 && c.returnSelect) {
                EXPECT_EQ(sessionDocument().selection.top, 32);
            }
        }
        const Document& doc = sessionDocument();
        EXPECT_EQ(doc.canvas.width(), c.canvasWidth);
        EXPECT_EQ(doc.selection.left, c.lastLeft);
        EXPECT_EQ(doc.selection.top, c.lastTop);
        EXPECT_EQ(doc.undoHistory.undoCount(), c.undoEntries);
        if (!c.mask) {
            EXPECT_EQ(doc.canvas.pixelAt(33, 1), frameColor(1));
            for (int n = 0; c.returnSelect && n < 8; ++n)  // the eight frames in their cells
                EXPECT_EQ(doc.canvas.pixelAt(n % 4 * 32 + 16, n / 4 * 32 + 16), frameColor(n)) << n;
        }
    }
}

// A dropped name is listed whole, however long: cut, it would name another file.
TEST_F(UiFileList, ALongDroppedNameIsListedWhole) {
    FileList files{ui};
    files.open();
    files.drop({L"C:\\" + std::wstring(1100, L'a') + L".png"});
    EXPECT_EQ(SendMessageW(files.list(), LB_GETTEXTLEN, 0, 0), 3 + 1100 + 4);
}
