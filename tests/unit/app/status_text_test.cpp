#include "app/status_text.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

TEST(StatusText, CursorPositionShowsNegativeAndTooLargeValues) {
    EXPECT_EQ(cursorPositionText(12, 34), u"12,34");
    EXPECT_EQ(cursorPositionText(-3, 300), u"-3,300");
}

TEST(StatusText, PixelValueIsEightUpperCaseHexDigitsOnTheCanvasOnly) {
    DIB canvas(4, 3);
    canvas.fillRect(0, 0, 4, 3, 0x00FF00FF);  // transparent magenta
    canvas.row(1)[2] = 0xFFFFFFFF;
    canvas.row(2)[3] = 0x0a0b0c0d;
    EXPECT_EQ(pixelValueText(canvas, 0, 0), u"00FF00FF");
    EXPECT_EQ(pixelValueText(canvas, 2, 1), u"FFFFFFFF");
    EXPECT_EQ(pixelValueText(canvas, 3, 2), u"0A0B0C0D");
    EXPECT_EQ(pixelValueText(canvas, -1, 0), u"--");
    EXPECT_EQ(pixelValueText(canvas, 0, -1), u"--");
    EXPECT_EQ(pixelValueText(canvas, 4, 0), u"--");
    EXPECT_EQ(pixelValueText(canvas, 0, 3), u"--");
    DIB empty;
    EXPECT_EQ(pixelValueText(empty, 0, 0), u"--");
}

TEST(StatusText, SelectionShowsEdgesAndSize) {
    EXPECT_EQ(selectionText(0, 0, 31, 31), u"0,0 -> 31,31 (32,32)");
    EXPECT_EQ(selectionText(-24, -8, 7, 23), u"-24,-8 -> 7,23 (32,32)");
    EXPECT_EQ(selectionText(5, 6, 5, 6), u"5,6 -> 5,6 (1,1)");
}

TEST(StatusText, ZoomShowsTwoDecimalsCutNotRounded) {
    EXPECT_EQ(zoomText(1.0f), u"x1.00");
    EXPECT_EQ(zoomText(0.5f), u"x0.50");
    EXPECT_EQ(zoomText(0.0625f), u"x0.06");
    EXPECT_EQ(zoomText(0.1875f), u"x0.18");  // rounding would give 0.19
    EXPECT_EQ(zoomText(16.25f), u"x16.25");
    EXPECT_EQ(zoomText(1.3125f), u"x1.31");
    EXPECT_EQ(zoomText(100.0f), u"x100.00");
}

TEST(StatusText, CopySizeOrDashesWithoutACopyBuffer) {
    DIB copy(40, 20);
    EXPECT_EQ(copySizeText(copy), u"40 x 20");
    DIB empty;
    EXPECT_EQ(copySizeText(empty), u"--");
}

TEST(WindowTitle, NamesTheFileAndMarksUnsavedChanges) {
    EXPECT_EQ(windowTitle(u"", false), u"Plimsett  ");
    EXPECT_EQ(windowTitle(u"", true), u"Plimsett *");
    EXPECT_EQ(windowTitle(u"a.png", false), u"Plimsett[a.png]  ");
    EXPECT_EQ(windowTitle(u"画像.png", true), u"Plimsett[画像.png] *");
}

TEST(StatusBarClicks, LeftClicksToggleAlphaModeOrOpenTheGridDialog) {
    EXPECT_EQ(statusClickCommand(80), 0u);
    EXPECT_EQ(statusClickCommand(81), static_cast<uint32_t>(ID_COLOR_ALPHA_MODE));
    EXPECT_EQ(statusClickCommand(179), static_cast<uint32_t>(ID_COLOR_ALPHA_MODE));
    EXPECT_EQ(statusClickCommand(180), static_cast<uint32_t>(ID_GRID_DIALOG));
    EXPECT_EQ(statusClickCommand(399), static_cast<uint32_t>(ID_GRID_DIALOG));
    EXPECT_EQ(statusClickCommand(400), 0u);
    EXPECT_EQ(statusClickCommand(20), 0u);
}

TEST(StatusBarClicks, RightClicksPickTheMenuOfThePane) {
    EXPECT_EQ(statusRightClickMenu(50), StatusMenu::None);
    EXPECT_EQ(statusRightClickMenu(81), StatusMenu::Color);
    EXPECT_EQ(statusRightClickMenu(180), StatusMenu::None);
    EXPECT_EQ(statusRightClickMenu(181), StatusMenu::GridSize);
    EXPECT_EQ(statusRightClickMenu(400), StatusMenu::None);
    EXPECT_EQ(statusRightClickMenu(401), StatusMenu::View);
    EXPECT_EQ(statusRightClickMenu(481), StatusMenu::Clipboard);
    EXPECT_EQ(statusRightClickMenu(579), StatusMenu::Clipboard);
    EXPECT_EQ(statusRightClickMenu(580), StatusMenu::None);
}
