// The font image generator over the real main window: a second thread plays
// the user while the dialog runs modally on the test's thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "dialogs/font_image_dialog.h"
#include "edit/pixel_ops.h"
#include "image/image_loader.h"
#include "image/png_codec.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

// Runs the generator while `answerer` plays the user.
bool runGenerator(UiSession& ui, DialogAnswerer& answerer) {
    runFontImageDialog(GetModuleHandleW(nullptr), ui.hwnd(), ui.doc());
    return answerer.finish();
}

DialogStep act(std::function<void(HWND)> what) {
    return inDialog(L"フォント画像生成", std::move(what));
}
DialogStep pressing(int id) {
    return act([id](HWND d) { press(d, id); });
}

uint32_t rgb(const DIB& image, int32_t x, int32_t y) { return image.pixelAt(x, y) & 0xFFFFFF; }

// Cell (column, row) of the sheet shows its checkerboard colour at its
// corner, and only the space (code 32, the first cell) has nothing drawn on it.
testing::AssertionResult cellHoldsItsCode(int32_t column, int32_t row) {
    const FontImageParams& p = settings().fontParams;
    const uint32_t back = pixelOf((row + column) % 2 ? p.backColor1 : p.backColor2) & 0xFFFFFF;
    const int32_t left = column * p.cellWidth, top = row * p.cellHeight;
    int drawn = 0;
    for (int32_t y = top; y < top + p.cellHeight; ++y)
        for (int32_t x = left; x < left + p.cellWidth; ++x) drawn += rgb(fontSheet(), x, y) != back;
    if (rgb(fontSheet(), left, top) != back || (drawn > 0) != (column + row > 0))
        return testing::AssertionFailure() << drawn << " pixels drawn";
    return testing::AssertionSuccess();
}

}  // namespace

using UiFontImage = UiTest;

TEST_F(UiFontImage, EachCellHoldsItsCodeOnTheCheckerboardAndOffsetYCutsTheTopRow) {
    settings().fontParams.backColor1 = 0x0000FF;  // red
    settings().fontParams.backColor2 = 0xFF0000;  // blue
    DialogAnswerer copy({act([](HWND d) {
        press(d, ID_EDIT_COPY);
        press(d, IDCANCEL);
    })});
    ASSERT_TRUE(runGenerator(ui, copy));
    const DIBSection& sheet = fontSheet();
    ASSERT_EQ(sheet.width(), 512);
    ASSERT_EQ(sheet.height(), 192);
    for (auto [column, row] : {std::pair{0, 0}, {1, 0}, {1, 2}, {15, 4}})
        EXPECT_TRUE(cellHoldsItsCode(column, row)) << column << "," << row;
    ASSERT_TRUE(ui.pumpUntil([&] { return ui.doc().copyBuffer.width() == 512; }));
    EXPECT_EQ(std::memcmp(ui.doc().copyBuffer.pixels, sheet.pixels, 512 * 192 * 4), 0);

    DIB before(512, 192);
    sheet.copyTo(before, 0, 0, 512, 192, 0, 0);
    DialogAnswerer offset({act([](HWND d) {
        typeInto(d, IDC_GRID_Y, L"-5");
        press(d, IDCANCEL);
    })});
    ASSERT_TRUE(runGenerator(ui, offset));
    // Row 0 moved up by 5; from y = 27 on, the glyphs of row 1 reach in.
    for (int32_t y = 0; y < 27; ++y)
        for (int32_t x = 0; x < 512; ++x)
            ASSERT_EQ(rgb(sheet, x, y), rgb(before, x, y + 5)) << x << "," << y;
}

TEST_F(UiFontImage, SavesOnACopyOfTheFileChoiceAndReportsAFailedWrite) {
    settings().filterIndexNormal = 3;
    setChoiceFromPath(ui.doc().file, (folder.path() / L"canvas.png").u16string().c_str());
    const FileChoice file = ui.doc().file;
    const auto sheetPath = folder.path() / L"sheet.png";
    DialogAnswerer save({pressing(ID_EDIT_SAVE_SELECTION), inFileDialog(sheetPath.wstring(), 1),
                         pressing(IDCANCEL)});
    ASSERT_TRUE(runGenerator(ui, save));
    EXPECT_EQ(save.seen(1).filter, 3);
    DIB saved;
    ASSERT_EQ(decodePng(sheetPath.u16string().c_str(), saved), kPngTransparentSource);
    for (int32_t y = 0; y < saved.height(); ++y)
        for (int32_t x = 0; x < saved.width(); ++x) ASSERT_EQ(saved.pixelAt(x, y) >> 24, 255u);
    EXPECT_EQ(settings().filterIndexNormal, 3);
    EXPECT_EQ(std::memcmp(&ui.doc().file, &file, sizeof file), 0);

    // Cells too large for any sheet leave nothing to write.
    settings().fontParams.cellWidth = settings().fontParams.cellHeight = 8192;
    DialogAnswerer failed({pressing(ID_EDIT_SAVE_SELECTION),
                           inFileDialog((folder.path() / L"none.png").wstring(), 1),
                           answerBox(L"Save Error", IDOK), pressing(IDCANCEL)});
    ASSERT_TRUE(runGenerator(ui, failed));
    EXPECT_EQ(failed.caption(2), L"none.png");
    EXPECT_FALSE(fontSheet().isValid());
}
