// What the editing commands decide without the platform: the rectangles at
// the edges of int32, and that a command whose change fails records nothing.
#include "edit/edit_commands.h"

#include <gtest/gtest.h>

#include <climits>

#include "resources/resource.h"
#include "tests/test_support.h"

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

// A paste into the selection grows the canvas to take the whole selection,
// one beyond it to take the whole image; the pasted part is no larger than
// either.
TEST(EditRects, APasteGrowsTheCanvasAsFarAsTheSelectionOrTheImageReaches) {
    struct Case {
        bool beyond;
        int32_t left, right, iw, ih;
        std::optional<CanvasSize> grown;
        EditRect target;
    };
    const Case cases[] = {
        {false, 90, 109, 50, 50, CanvasSize{110, 110}, {90, 90, 20, 20}},
        {false, 90, 100, 50, 50, CanvasSize{101, 101}, {90, 90, 11, 11}},
        {false, 90, 99, 50, 50, std::nullopt, {90, 90, 10, 10}},
        {false, 0, 9, 4, 30, std::nullopt, {0, 0, 4, 10}},
        {true, 0, 9, 150, 20, CanvasSize{150, 100}, {0, 0, 150, 20}},
    };
    for (const Case& c : cases) {
        const Selection s = selectionOf(c.left, c.left, c.right, c.right);
        EXPECT_EQ(
            c.beyond ? grownForPasteBeyond(s, c.iw, c.ih, 100, 100) : grownForPaste(s, 100, 100),
            c.grown)
            << c.right;
        EXPECT_EQ(c.beyond ? beyondTarget(s, c.iw, c.ih) : pasteTarget(s, c.iw, c.ih), c.target);
    }
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
    EXPECT_FALSE(changeSelection(doc, s, ID_COLOR_FLIP_HORIZONTAL));  // a flip of nothing fails
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

// A region change keeps only the part on the canvas: a selection reaching far
// past it needs no more memory than the canvas, and undo still puts it back.
TEST(EditCommands, ASelectionFarPastTheCanvasIsUndoneExactly) {
    Settings s;
    Document doc;
    ASSERT_TRUE(doc.canvas.create(4, 4));
    testimage::fillTagged(doc.canvas);
    doc.selection = selectionOf(-1000000, 1, 1000000000, 1000000000);
    ASSERT_TRUE(changeSelection(doc, s, ID_COLOR_INVERT));
    EXPECT_EQ(doc.canvas.pixelAt(0, 1), testimage::tag(0, 1) ^ 0x00FFFFFFu);
    ASSERT_TRUE(undoEdit(doc));
    EXPECT_TRUE(testimage::pixelsAre(doc.canvas, testimage::tag));
}
