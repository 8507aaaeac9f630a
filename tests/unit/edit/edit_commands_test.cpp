// What the editing commands decide without the platform: the rectangles at
// the edges of int32, and that a command whose change fails records nothing.
#include "edit/edit_commands.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/unit/edit/test_image.h"

namespace {

Selection selectionOf(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    Selection s;
    s.left = left, s.top = top, s.right = right, s.bottom = bottom;
    return s;
}

}  // namespace

TEST(EditRects, ExtremeSelectionsSaturateInsteadOfWrapping) {
    const Selection huge = selectionOf(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(selectionRectangle(huge), (EditRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}));
    EXPECT_EQ(copyRectangle(huge, 100, 50, false), (EditRect{0, 0, 100, 50}));
    EXPECT_EQ(pasteTarget(huge, 7, 9), (EditRect{INT_MIN, INT_MIN, 7, 9}));
    EXPECT_EQ(grownForPaste(huge, 100, 50), (CanvasSize{INT_MAX, INT_MAX}));
    const Selection outside = selectionOf(200, 5, 210, 8);
    EXPECT_LE(copyRectangle(outside, 100, 50, false).w, 0);
    EXPECT_EQ(grownForPasteBeyond(selectionOf(INT_MAX, 0, INT_MAX, 0), 2, 1, 10, 10),
              (CanvasSize{INT_MAX, 10}));
}

// Each command's change fails here, so the history, the counters and the
// canvas stay as they were.
TEST(EditCommands, FailedChangesLeaveNoEntryAndNoCount) {
    Settings s;
    Document doc;
    ASSERT_TRUE(doc.canvas.create(4, 4));
    testimage::fillTagged(doc.canvas);
    doc.selection = selectionOf(10, 10, 12, 12);  // wholly outside the canvas
    DIB empty, pixel(1, 1);
    pixel.pixels[0] = 0xFF000000u;
    EXPECT_FALSE(changeSelection(doc, s, 40141));  // a flip of nothing fails
    EXPECT_FALSE(paste(doc, s, empty, PasteKind::Copy));
    s.autoResize = false;
    EXPECT_FALSE(paste(doc, s, pixel, PasteKind::Translucent));
    EXPECT_FALSE(pasteMask(doc, s, pixel));
    EXPECT_EQ(replaceColor(doc, s, 0, 0, false).replaced, 0u);
    EXPECT_FALSE(doc.undoHistory.hasPending());
    EXPECT_EQ(doc.undoHistory.undoCount(), 0u);
    EXPECT_FALSE(doc.hasUnsavedChanges());
    EXPECT_TRUE(testimage::pixelsAre(doc.canvas, testimage::tag));
}
