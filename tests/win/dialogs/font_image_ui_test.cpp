// The font image generator over the real main window: a second thread plays
// the user while the dialog runs modally on the test's thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/font_image_dialog.h"
#include "edit/pixel_ops.h"
#include "image/image_loader.h"
#include "image/png_codec.h"
#include "image/scoped_handles.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"
#include "tests/win/dialogs/dialog_script.h"

namespace {

bool runDialog(UiSession& ui, std::vector<DialogStep> steps) {
    DialogScript script(std::move(steps));
    runFontImageDialog(GetModuleHandleW(nullptr), ui.hwnd(), ui.doc());
    return script.finish();
}

DialogStep act(std::function<void(HWND)> what) {
    return inDialog(L"フォント画像生成", std::move(what));
}
DialogStep pressing(int id) {
    return act([id](HWND d) { press(d, id); });
}

uint32_t rgb(const DIB& image, int32_t x, int32_t y) { return image.pixelAt(x, y) & 0xFFFFFF; }

// The sheet's cell against its character drawn alone by the test, with the
// sheet's font, on the cell's background.
testing::AssertionResult cellShowsOnlyItsCharacter(int32_t column, int32_t row) {
    const FontImageParams& p = settings().fontParams;
    DIBSection cell;
    LOGFONTW description{};
    if (!cell.create(p.cellWidth, p.cellHeight) ||
        !GetObjectW(fontSheet().font, sizeof description, &description))
        return testing::AssertionFailure() << "no reference";
    cell.fillRect(0, 0, p.cellWidth, p.cellHeight,
                  pixelOf((row + column) % 2 ? p.backColor1 : p.backColor2));
    ScopedGdiObject<HFONT> font(CreateFontIndirectW(&description));
    ScopedSelectObject selected(cell.dc, font.get());
    SetBkMode(cell.dc, TRANSPARENT);
    SetTextColor(cell.dc, p.textColor);
    const wchar_t code = static_cast<wchar_t>(32 + row * 16 + column);
    SIZE extent{};
    GetTextExtentPoint32W(cell.dc, &code, 1, &extent);
    TextOutW(cell.dc, (p.cellWidth - extent.cx) / 2, 0, &code, 1);
    GdiFlush();
    for (int32_t y = 0; y < p.cellHeight; ++y)
        for (int32_t x = 0; x < p.cellWidth; ++x)
            if (rgb(cell, x, y) !=
                rgb(fontSheet(), column * p.cellWidth + x, row * p.cellHeight + y))
                return testing::AssertionFailure() << "differs at " << x << "," << y;
    return testing::AssertionSuccess();
}

// The save dialog: notes the filter it starts on, then saves " PNG32(*.png)" as `path`.
DialogStep saveAsPng32(const std::filesystem::path& path, int& startFilter) {
    constexpr int kFilters = 0x470, kNameCombo = 0x47C, kNameEdit = 0x480;
    return {[](HWND w) { return GetDlgItem(w, kFilters) != nullptr; },
            [path, &startFilter](HWND w) {
                const HWND filters = GetDlgItem(w, kFilters);
                startFilter = int(SendMessageW(filters, CB_GETCURSEL, 0, 0)) + 1;
                SendMessageW(filters, CB_SETCURSEL, 0, 0);
                for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
                    SendMessageW(w, WM_COMMAND, MAKEWPARAM(kFilters, code), LPARAM(filters));
                const HWND name = GetDlgItem(w, kNameCombo) ? GetDlgItem(w, kNameCombo)
                                                            : GetDlgItem(w, kNameEdit);
                SetWindowTextW(name, path.c_str());
                press(w, IDOK);
            }};
}

}  // namespace

TEST(UiFontImage, EachCellHoldsItsCodeOnTheCheckerboardAndOffsetYCutsTheTopRow) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    settings().fontParams.backColor1 = 0x0000FF;  // red
    settings().fontParams.backColor2 = 0xFF0000;  // blue
    ASSERT_TRUE(runDialog(ui, {act([](HWND d) {
                              press(d, ID_EDIT_COPY);
                              press(d, IDCANCEL);
                          })}));
    const DIBSection& sheet = fontSheet();
    ASSERT_EQ(sheet.width(), 512);
    ASSERT_EQ(sheet.height(), 192);
    EXPECT_EQ(sheet.pixelAt(0, 0), 0xFF0000FFu);
    EXPECT_EQ(sheet.pixelAt(32, 0), 0xFFFF0000u);
    EXPECT_EQ(sheet.pixelAt(0, 32), 0xFFFF0000u);
    bool inked = false;  // the set-up's Japanese font draws "A" in cell (1, 2)
    for (int32_t y = 64; y < 96; ++y)
        for (int32_t x = 32; x < 64; ++x) inked |= rgb(sheet, x, y) != 0xFF0000;
    EXPECT_TRUE(inked);
    for (auto [column, row] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{1, 2}, std::pair{15, 5}})
        EXPECT_TRUE(cellShowsOnlyItsCharacter(column, row)) << column << "," << row;
    ASSERT_TRUE(ui.pumpUntil([&] { return ui.doc().copyBuffer.width() == 512; }));
    EXPECT_EQ(std::memcmp(ui.doc().copyBuffer.pixels, sheet.pixels, 512 * 192 * 4), 0);

    DIB before(512, 192);
    sheet.copyTo(before, 0, 0, 512, 192, 0, 0);
    ASSERT_TRUE(runDialog(ui, {act([](HWND d) {
                              typeInto(d, IDC_GRID_Y, L"-5");
                              press(d, IDCANCEL);
                          })}));
    // Row 0 moved up by 5; from y = 27 on, the glyphs of row 1 reach in.
    for (int32_t y = 0; y < 27; ++y)
        for (int32_t x = 0; x < 512; ++x)
            ASSERT_EQ(rgb(sheet, x, y), rgb(before, x, y + 5)) << x << "," << y;
}

TEST(UiFontImage, ControlsSetTheParametersARestartReadsBackAndResetAsksBeforeDefaults) {
    TempFolder folder;
    const std::wstring forty = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    FontImageParams edited;
    {
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        ASSERT_TRUE(runDialog(
            ui, {act([&](HWND d) {
                const HWND list = GetDlgItem(d, IDC_FONT_NAME);
                SendMessageW(list, CB_SETCURSEL,
                             SendMessageW(list, CB_ADDSTRING, 0, LPARAM(forty.c_str())), 0);
                SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_FONT_NAME, CBN_SELCHANGE), 0);
                setChecked(d, IDC_FONT_BOLD, true);
                press(d, IDC_FONT_BOLD);
                typeInto(d, IDC_GRID_X, L"-3");
                typeInto(d, IDC_WIDTH, L"24");
                typeInto(d, IDC_HEIGHT, L"");  // changes nothing
                press(d, IDCANCEL);
            })}));
        edited = settings().fontParams;
        EXPECT_EQ(edited.style, FontImageParams::kBold | FontImageParams::kAntiAliased);
        EXPECT_EQ(edited.offsetX, -3);
        EXPECT_EQ(fontSheet().width(), 24 * 16);
        EXPECT_EQ(fontSheet().height(), 32 * 6);
        LOGFONTW font{};  // what the font was asked for
        ASSERT_TRUE(GetObjectW(fontSheet().font, sizeof font, &font));
        EXPECT_EQ(std::wstring(font.lfFaceName), forty.substr(0, 31));
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        ASSERT_TRUE(ui.close());
    }
    UiSession again(folder.path());
    ASSERT_TRUE(again.started());
    for (int answer : {IDNO, IDYES}) {
        ASSERT_TRUE(
            runDialog(again, {pressing(ID_FONT_RESET), answerBox(L"リセットしますか？", answer),
                              pressing(IDCANCEL)}));
        const FontImageParams expected = answer == IDYES ? FontImageParams{} : edited;
        EXPECT_EQ(std::memcmp(&settings().fontParams, &expected, sizeof expected), 0) << answer;
        EXPECT_EQ(fontSheet().width(), answer == IDYES ? 512 : 384);
    }
}

TEST(UiFontImage, SavesOnACopyOfTheFileChoiceAndReportsAFailedWrite) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    settings().filterIndexNormal = 3;
    setChoiceFromPath(ui.doc().file, (folder.path() / L"canvas.png").u16string().c_str());
    const FileChoice file = ui.doc().file;
    const auto sheetPath = folder.path() / L"sheet.png";
    int startFilter = 0;
    ASSERT_TRUE(runDialog(ui, {pressing(ID_EDIT_SAVE_SELECTION),
                               saveAsPng32(sheetPath, startFilter), pressing(IDCANCEL)}));
    EXPECT_EQ(startFilter, 3);
    DIB saved;
    ASSERT_EQ(decodePng(sheetPath.u16string().c_str(), saved), kPngTransparentSource);
    for (int32_t y = 0; y < saved.height(); ++y)
        for (int32_t x = 0; x < saved.width(); ++x) ASSERT_EQ(saved.pixelAt(x, y) >> 24, 255u);
    EXPECT_EQ(settings().filterIndexNormal, 3);
    EXPECT_EQ(std::memcmp(&ui.doc().file, &file, sizeof file), 0);

    // Cells too large for any sheet leave nothing to write.
    settings().fontParams.cellWidth = settings().fontParams.cellHeight = 8192;
    std::wstring caption;
    bool errorIcon = false;
    const DialogStep saveError{
        [](HWND w) { return textOf(GetDlgItem(w, 0xFFFF)) == L"Save Error"; },
        [&](HWND w) {
            caption = textOf(w);
            const HICON error = LoadIconW(nullptr, IDI_ERROR);
            for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                errorIcon |= HICON(SendMessageW(c, STM_GETICON, 0, 0)) == error;
            press(w, IDOK);
        }};
    ASSERT_TRUE(runDialog(ui, {pressing(ID_EDIT_SAVE_SELECTION),
                               saveAsPng32(folder.path() / L"none.png", startFilter), saveError,
                               pressing(IDCANCEL)}));
    EXPECT_FALSE(fontSheet().isValid());
    EXPECT_EQ(caption, L"none.png");
    EXPECT_TRUE(errorIcon);
}
