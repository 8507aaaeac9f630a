// The small dialogs in the real main window: a second thread plays the user
// in the modal ones; the tool windows are driven on the UI thread itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "edit/pixel_ops.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

const wchar_t kBadParameter[] = L"パラメータが異常です";

// Runs command `id` while the answerer plays the dialogs it opens.
bool runDialog(UiSession& ui, WORD id, std::vector<DialogStep> steps) {
    DialogAnswerer answerer(std::move(steps));
    ui.command(id);
    return answerer.finish();
}

// Size, undo steps and edits of the document: each confirmed change is one of each.
std::array<int64_t, 4> canvasState() {
    const Document& doc = sessionDocument();
    return {doc.canvas.width(), doc.canvas.height(),
            static_cast<int64_t>(doc.undoHistory.undoCount()), doc.editCount};
}

HWND gridDialog() { return static_cast<HWND>(sessionDocument().gridDialog); }

}  // namespace

using UiDialogNewCanvas = UiTest;
using UiDialogChangeColor = UiTest;
using UiDialogGrid = UiTest;

// Refused sizes warn and change nothing; a good one makes a canvas of the
// background colour whose size is stored at exit.
TEST_F(UiDialogNewCanvas, RefusesBadSizesAndStoresAGoodOneAtExit) {
    settings().back = 0x00FF00;
    auto typeSize = [](const wchar_t* width, const wchar_t* height) {
        return inDialog(L"新規作成", [=](HWND d) {
            typeInto(d, IDC_WIDTH, width);
            typeInto(d, IDC_HEIGHT, height);
            press(d, IDOK);
        });
    };
    for (auto [width, height] : {std::pair{L"", L"200"}, {L"300", L"0"}}) {
        EXPECT_TRUE(runDialog(ui, ID_FILE_NEW,
                              {typeSize(width, height), answerBox(kBadParameter, IDOK),
                               pressIn(L"新規作成", IDCANCEL)}));
        EXPECT_EQ(canvasState(), (std::array<int64_t, 4>{256, 256, 0, 0}));
    }
    ASSERT_TRUE(runDialog(ui, ID_FILE_NEW, {typeSize(L"300", L"200")}));
    EXPECT_EQ(canvasState(), (std::array<int64_t, 4>{300, 200, 1, 1}));
    EXPECT_TRUE(testimage::pixelsAre(sessionDocument().canvas,
                                     [](int32_t, int32_t) { return pixelOf(0x00FF00); }));
    DialogAnswerer dontSave(IDNO);
    ASSERT_TRUE(ui.close());
    wchar_t stored[64] = {};
    GetPrivateProfileStringW(L"window", L"newImageSize", L"", stored, 64,
                             (folder.path() / L"config.ini").c_str());
    EXPECT_STREQ(stored, L"300,200");
}

TEST(UiDialogConfig, OkResizesOnlyAChangedCanvasAndStoresTheOptionsFirst) {
    const struct {
        const wchar_t* width;
        bool refused;  // then the warning is answered and the dialog cancelled
        std::array<int64_t, 4> state;
        int32_t undoLimit;
    } cases[] = {
        {L"300", false, {300, 256, 1, 1}, 5},
        {L"256", false, {256, 256, 0, 0}, 5},
        {L"0", true, {256, 256, 0, 0}, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.state[0] << (c.refused ? " refused" : ""));
        TempFolder folder;
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        testimage::fillTagged(sessionDocument().canvas);
        std::vector<DialogStep> steps{inDialog(L"コンフィグ", [&](HWND d) {
            typeInto(d, IDC_WIDTH, c.width);
            typeInto(d, IDC_UNDO, L"5");
            setChecked(d, IDC_AUTO_RESIZE, false);
            press(d, IDOK);
        })};
        if (c.refused)
            steps.insert(steps.end(),
                         {answerBox(kBadParameter, IDOK), pressIn(L"コンフィグ", IDCANCEL)});
        ASSERT_TRUE(runDialog(ui, ID_OPTION_CONFIG, std::move(steps)));
        EXPECT_EQ(canvasState(), c.state);
        EXPECT_TRUE(testimage::pixelsAre(sessionDocument().canvas, [](int32_t x, int32_t y) {
            return x < 256 ? testimage::tag(x, y) : pixelOf(settings().back);
        }));
        EXPECT_FALSE(settings().autoResize);  // also by the refused OK
        EXPECT_EQ(settings().undoLimit, c.undoLimit);
    }
}

TEST(UiDialogConfig, ConfirmedCheckerboardResetOutlivesCancel) {
    const struct {
        int answer;
        const wchar_t* field;
        std::array<uint32_t, 3> boxSizeAndColors;
    } cases[] = {{IDYES, L"8", {8, 0xFFFFFF, 0xB0B0B0}}, {IDNO, L"20", {20, 0x123456, 0x654321}}};
    for (const auto& c : cases) {
        TempFolder folder;
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        Settings& s = settings();
        s.boxSize = 20, s.color1 = 0x123456, s.color2 = 0x654321;
        std::wstring field;
        ASSERT_TRUE(
            runDialog(ui, ID_OPTION_CONFIG,
                      {pressIn(L"コンフィグ", IDC_TRANS_DEFAULT),
                       answerBox(L"透明部分の表示の設定をデフォルトに戻しますか？", c.answer),
                       inDialog(L"コンフィグ", [&](HWND d) {
                           field = windowText(GetDlgItem(d, IDC_BOX_SIZE));
                           press(d, IDCANCEL);
                       })}));
        EXPECT_EQ(field, c.field);
        EXPECT_EQ((std::array<uint32_t, 3>{static_cast<uint32_t>(s.boxSize), s.color1, s.color2}),
                  c.boxSizeAndColors);
    }
}

TEST_F(UiDialogGrid, EveryEditAppliesAtOnce) {
    // Each step acts on the grid the steps before left; the corners are
    // (5, 5) and (20, 40), the grid 32 x 32 at offset 0, 0 to begin with.
    const struct {
        int id;               // a field to type into, or a button to press
        const wchar_t* text;  // null: press
        std::array<int32_t, 4> grid, rect;
    } steps[] = {
        {IDC_WIDTH, L"16", {16, 32, 0, 0}, {0, 0, 31, 63}},
        {IDC_GRID_X, L"-4", {16, 32, -4, 0}, {-4, 0, 27, 63}},
        {IDC_GRID_X, L"-", {16, 32, -4, 0}, {-4, 0, 27, 63}},  // no number, no change
        {ID_GRID_8, nullptr, {8, 8, -4, 0}, {4, 0, 27, 47}},
        {IDC_GRID_RESET, nullptr, {8, 8, 0, 0}, {0, 0, 23, 47}},
    };
    Selection& sel = sessionDocument().selection;
    sel.x1 = 5, sel.y1 = 5, sel.x2 = 20, sel.y2 = 40;
    updateSelection(sel);
    ui.command(ID_GRID_DIALOG);
    ASSERT_NE(gridDialog(), nullptr);
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << s.id << (s.text ? " typed" : " pressed"));
        s.text ? typeInto(gridDialog(), s.id, s.text) : press(gridDialog(), s.id);
        ui.pump();
        EXPECT_EQ((std::array{sel.gw, sel.gh, sel.cx, sel.cy}), s.grid);
        EXPECT_EQ((std::array{sel.left, sel.top, sel.right, sel.bottom}), s.rect);
    }
}

// The grid dialog closes with Enter or Escape typed into a field, the file
// list with its close button; both reopen where they were after a restart.
TEST(UiToolWindows, ReopenWhereTheyWereAfterARestart) {
    TempFolder folder;
    auto grid = [] { return static_cast<HWND>(sessionDocument().gridDialog); };
    auto fileList = [] { return static_cast<HWND>(sessionDocument().fileListDialog); };
    auto topLeft = [](HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return IntPair{r.left, r.top};
    };
    {
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        ui.command(ID_OPTION_FILE_LIST);
        SetWindowPos(fileList(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendMessageW(fileList(), WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(fileList(), nullptr);
        for (auto [key, at] : {std::pair{VK_RETURN, IntPair{130, 90}}, {VK_ESCAPE, {100, 120}}}) {
            ui.command(ID_GRID_DIALOG);
            SetWindowPos(grid(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            PostMessageW(GetDlgItem(grid(), IDC_WIDTH), WM_KEYDOWN, key, 1);
            ui.pump();
            EXPECT_EQ(grid(), nullptr) << key;
            EXPECT_EQ(settings().wndPos, at);
        }
        ASSERT_TRUE(ui.close());
    }
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    ui.command(ID_GRID_DIALOG);
    ui.command(ID_OPTION_FILE_LIST);
    EXPECT_EQ(topLeft(grid()), (IntPair{100, 120}));
    EXPECT_EQ(topLeft(fileList()), (IntPair{300, 200}));
}

TEST_F(UiDialogChangeColor, TOverTheCanvasTakesThePixelWithoutAClickAndOkReplaces) {
    sessionDocument().canvas.fillRect(10, 10, 10, 10, pixelOf(0x0000FF) | 0xFF000000u);
    ui.command(ID_COLOR_CHANGE_DIALOG);
    const HWND dialog = static_cast<HWND>(sessionDocument().changeColorDialog);
    ASSERT_NE(dialog, nullptr);
    SetForegroundWindow(dialog);
    ui.pump();
    ui.pointAt(8 + 15, 8 + 15);  // canvas pixel (15, 15)
    EXPECT_TRUE(ui.pumpUntil([&] { return GetForegroundWindow() == ui.hwnd(); }, 2000));
    ui.pressKey('T');
    EXPECT_EQ(settings().before, 0x0000FFu);
    ui.takeCommands();
    press(dialog, IDOK);  // hands the replacement to the main window and closes
    ui.pump();
    EXPECT_EQ(ui.takeCommands(), std::vector<WORD>{ID_COLOR_REPLACE});
    EXPECT_EQ(sessionDocument().changeColorDialog, nullptr);
}
