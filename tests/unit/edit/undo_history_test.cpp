// The undo/redo history: what undo and redo put back, the bound on the undo
// list and the end of the redo chain.
#include "edit/undo_history.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/unit/edit/test_image.h"

using testimage::at;
using testimage::fill;
using testimage::fillTagged;
using testimage::snapshot;
using testimage::tag;

namespace {

// One recorded change as the command layer makes it: the rectangle is filled
// with `value`.
void recordFill(UndoHistory& history, DIB& canvas, int32_t x, int32_t y, int32_t w, int32_t h,
                uint32_t value) {
    history.beginEntry(UndoKind::Region);
    history.captureBefore(canvas, x, y, w, h);
    canvas.fillRect(x, y, w, h, value);
    history.captureAfter(canvas, x, y, w, h);
    history.commitEntry();
}

}  // namespace

TEST(UndoHistory, UndoPutsBackBeforeAndRedoPutsBackAfter) {
    DIB canvas(8, 8);
    fillTagged(canvas);
    const auto original = snapshot(canvas);
    UndoHistory history;
    recordFill(history, canvas, 2, 2, 3, 3, 0xFF0000FFu);
    const auto changed = snapshot(canvas);

    EXPECT_TRUE(history.undo(canvas));
    EXPECT_EQ(snapshot(canvas), original);
    EXPECT_EQ(history.undoCount(), 0u);
    EXPECT_EQ(history.redoCount(), 1u);

    EXPECT_TRUE(history.redo(canvas));
    EXPECT_EQ(snapshot(canvas), changed);
    EXPECT_EQ(history.undoCount(), 1u);  // again the newest of the undo list
    EXPECT_FALSE(history.redo(canvas));

    EXPECT_TRUE(history.undo(canvas));
    EXPECT_EQ(snapshot(canvas), original);
}

TEST(UndoHistory, EmptyContainersReturnFalseAndChangeNothing) {
    DIB canvas(4, 4);
    fillTagged(canvas);
    const auto original = snapshot(canvas);
    UndoHistory history;
    EXPECT_FALSE(history.undo(canvas));
    EXPECT_FALSE(history.redo(canvas));
    EXPECT_EQ(snapshot(canvas), original);
}

TEST(UndoHistory, LimitZeroKeepsNoEntryButStillEndsTheRedoChain) {
    DIB canvas(6, 6);
    fillTagged(canvas);
    UndoHistory history(2);
    recordFill(history, canvas, 0, 0, 2, 2, 1u);
    ASSERT_TRUE(history.undo(canvas));
    ASSERT_EQ(history.redoCount(), 1u);

    history.setUndoLimit(0);
    recordFill(history, canvas, 1, 1, 2, 2, 2u);
    EXPECT_EQ(history.undoCount(), 0u);
    EXPECT_EQ(history.redoCount(), 0u);
    EXPECT_FALSE(history.hasPending());
    EXPECT_FALSE(history.undo(canvas));
    EXPECT_FALSE(history.redo(canvas));
    EXPECT_EQ(at(canvas, 1, 1), 2u);
}

TEST(UndoHistory, LimitTwoWithThreeCommitsForgetsTheFirst) {
    DIB canvas(6, 6);
    fillTagged(canvas);
    UndoHistory history(2);
    recordFill(history, canvas, 0, 0, 6, 6, 1u);
    recordFill(history, canvas, 0, 0, 6, 6, 2u);
    recordFill(history, canvas, 0, 0, 6, 6, 3u);
    EXPECT_EQ(history.undoCount(), 2u);
    EXPECT_TRUE(history.undo(canvas));
    EXPECT_EQ(at(canvas, 3, 3), 2u);
    EXPECT_TRUE(history.undo(canvas));
    EXPECT_EQ(at(canvas, 3, 3), 1u);
    EXPECT_FALSE(history.undo(canvas));  // the first change cannot be taken back
    EXPECT_EQ(at(canvas, 3, 3), 1u);
}

TEST(UndoHistory, ChangeAfterTwoUndosDestroysBothUndoneEntries) {
    DIB canvas(6, 6);
    fillTagged(canvas);
    UndoHistory history;
    recordFill(history, canvas, 0, 0, 3, 3, 1u);
    recordFill(history, canvas, 0, 0, 3, 3, 2u);
    ASSERT_TRUE(history.undo(canvas));
    ASSERT_TRUE(history.undo(canvas));
    recordFill(history, canvas, 3, 3, 3, 3, 9u);
    EXPECT_EQ(history.redoCount(), 0u);
    EXPECT_FALSE(history.redo(canvas));
    EXPECT_EQ(history.undoCount(), 1u);
}

TEST(UndoHistory, GrownCanvasIsShrunkByUndoAndGrownAgainByRedo) {
    DIB canvas(100, 100);
    fillTagged(canvas);
    const auto original = snapshot(canvas);
    DIB pasted(60, 30);
    fill(pasted,
         [](int32_t x, int32_t y) { return 0xFF000000u | static_cast<uint32_t>(x * 256 + y); });

    // A paste at (90, 90) that grows the canvas to 150 x 120.
    UndoHistory history;
    history.beginEntry(UndoKind::WholeCanvas);
    ASSERT_TRUE(history.captureBefore(canvas, 0, 0, canvas.width(), canvas.height()));
    ASSERT_TRUE(canvas.resizeFill(150, 120, 0x00FFFFFFu));
    ASSERT_TRUE(pasted.copyTo(canvas, 90, 90, 60, 30, 0, 0));
    ASSERT_TRUE(history.captureAfter(canvas, 0, 0, canvas.width(), canvas.height()));
    history.commitEntry();
    const auto grown = snapshot(canvas);

    ASSERT_TRUE(history.undo(canvas));
    EXPECT_EQ(canvas.width(), 100);
    EXPECT_EQ(canvas.height(), 100);
    EXPECT_EQ(snapshot(canvas), original);

    ASSERT_TRUE(history.redo(canvas));
    EXPECT_EQ(canvas.width(), 150);
    EXPECT_EQ(canvas.height(), 120);
    EXPECT_EQ(snapshot(canvas), grown);
    EXPECT_EQ(at(canvas, 149, 119), pasted.pixelAt(59, 29));
    EXPECT_EQ(at(canvas, 120, 10), 0x00FFFFFFu);
}

TEST(UndoHistory, RegionOverTheEdgeRestoresExactlyTheInsidePart) {
    DIB canvas(6, 6);
    fillTagged(canvas);
    UndoHistory history;
    // Columns -2..2, rows 3..7: the inside part is columns 0..2, rows 3..5.
    recordFill(history, canvas, -2, 3, 5, 5, 0x01020304u);
    EXPECT_EQ(at(canvas, 0, 3), 0x01020304u);
    canvas.row(0)[5] = 0xDEADBEEFu;  // outside the rectangle, changed afterwards

    ASSERT_TRUE(history.undo(canvas));
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            const uint32_t expected = (x == 5 && y == 0) ? 0xDEADBEEFu : tag(x, y);
            EXPECT_EQ(at(canvas, x, y), expected) << x << "," << y;
        }
    }
    ASSERT_TRUE(history.redo(canvas));
    for (int32_t y = 3; y < 6; ++y)
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(at(canvas, x, y), 0x01020304u);
    EXPECT_EQ(at(canvas, 3, 3), tag(3, 3));
}

TEST(UndoHistory, LoweredLimitTrimsOnlyAtTheNextCommit) {
    DIB canvas(4, 4);
    fillTagged(canvas);
    UndoHistory history(5);
    for (uint32_t i = 1; i <= 4; ++i) recordFill(history, canvas, 0, 0, 1, 1, i);
    history.setUndoLimit(2);
    EXPECT_EQ(history.undoCount(), 4u);
    recordFill(history, canvas, 0, 0, 1, 1, 5u);
    EXPECT_EQ(history.undoCount(), 2u);
    ASSERT_TRUE(history.undo(canvas));
    ASSERT_TRUE(history.undo(canvas));
    EXPECT_EQ(at(canvas, 0, 0), 3u);  // the two newest survived
}

TEST(UndoHistory, NegativeLimitNeverTrims) {
    DIB canvas(4, 4);
    fillTagged(canvas);
    UndoHistory history(-1);
    for (uint32_t i = 1; i <= 150; ++i) recordFill(history, canvas, 0, 0, 1, 1, i);
    EXPECT_EQ(history.undoCount(), 150u);
    while (history.undo(canvas)) {
    }
    EXPECT_EQ(at(canvas, 0, 0), tag(0, 0));
}

TEST(UndoHistory, RedoDoesNotTrimToTheLimit) {
    DIB canvas(4, 4);
    fillTagged(canvas);
    UndoHistory history(3);
    for (uint32_t i = 1; i <= 3; ++i) recordFill(history, canvas, 0, 0, 1, 1, i);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(history.undo(canvas));
    history.setUndoLimit(1);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(history.redo(canvas));
    EXPECT_EQ(history.undoCount(), 3u);
    EXPECT_EQ(at(canvas, 0, 0), 3u);
}

TEST(UndoHistory, DiscardedEntryIsNeverRecordedButCommitStillEndsRedo) {
    DIB canvas(4, 4);
    fillTagged(canvas);
    UndoHistory history;
    recordFill(history, canvas, 0, 0, 2, 2, 1u);
    ASSERT_TRUE(history.undo(canvas));

    history.beginEntry(UndoKind::Region);
    history.captureBefore(canvas, 0, 0, 2, 2);
    history.discardEntry();  // the change failed
    EXPECT_FALSE(history.hasPending());
    EXPECT_EQ(history.redoCount(), 1u);

    history.commitEntry();  // nothing pending
    EXPECT_EQ(history.undoCount(), 0u);
    EXPECT_EQ(history.redoCount(), 0u);
}

TEST(UndoHistory, ClearAllDropsPendingUndoAndRedo) {
    DIB canvas(4, 4);
    fillTagged(canvas);
    UndoHistory history;
    recordFill(history, canvas, 0, 0, 2, 2, 1u);
    recordFill(history, canvas, 0, 0, 2, 2, 2u);
    ASSERT_TRUE(history.undo(canvas));
    history.beginEntry(UndoKind::Region);
    history.clearAll();
    EXPECT_FALSE(history.hasPending());
    EXPECT_EQ(history.undoCount(), 0u);
    EXPECT_EQ(history.redoCount(), 0u);
    EXPECT_FALSE(history.undo(canvas));
    EXPECT_FALSE(history.redo(canvas));
}

TEST(UndoHistory, EntryWithoutImagesIsCommittedAndRestoresNothing) {
    DIB canvas(5, 5);
    fillTagged(canvas);
    UndoHistory history;
    history.beginEntry(UndoKind::WholeCanvas);
    EXPECT_FALSE(history.captureBefore(canvas, 0, 0, 0, 5));  // no image could be made
    canvas.fillRect(0, 0, 5, 5, 7u);
    EXPECT_FALSE(history.captureAfter(canvas, 0, 0, -1, 5));
    history.commitEntry();
    EXPECT_EQ(history.undoCount(), 1u);
    EXPECT_TRUE(history.undo(canvas));
    EXPECT_EQ(canvas.width(), 5);  // an empty image neither resizes nor copies
    EXPECT_EQ(at(canvas, 2, 2), 7u);
    EXPECT_TRUE(history.redo(canvas));
    EXPECT_EQ(at(canvas, 2, 2), 7u);
}

TEST(UndoHistory, RecaptureReplacesTheEarlierSnapshot) {
    DIB canvas(5, 5);
    fillTagged(canvas);
    UndoHistory history;
    history.beginEntry(UndoKind::Region);
    ASSERT_TRUE(history.captureBefore(canvas, 0, 0, 2, 2));
    canvas.fillRect(0, 0, 5, 5, 5u);
    ASSERT_TRUE(history.captureBefore(canvas, 1, 1, 2, 2));  // same size, new place and pixels
    canvas.fillRect(0, 0, 5, 5, 6u);
    ASSERT_TRUE(history.captureAfter(canvas, 1, 1, 2, 2));
    // A snapshot that cannot be made leaves no older one behind to restore.
    EXPECT_FALSE(history.captureAfter(canvas, 1, 1, 0, 0));
    history.commitEntry();

    ASSERT_TRUE(history.undo(canvas));
    EXPECT_EQ(at(canvas, 1, 1), 5u);
    EXPECT_EQ(at(canvas, 2, 2), 5u);
    EXPECT_EQ(at(canvas, 0, 0), 6u);
    ASSERT_TRUE(history.redo(canvas));
    EXPECT_EQ(at(canvas, 1, 1), 5u);  // the failed after image put nothing back
}

TEST(UndoHistory, BeginEntryKeepsThePendingEntryAndSetsItsKind) {
    DIB canvas(4, 4);
    fillTagged(canvas);
    UndoHistory history;
    history.beginEntry(UndoKind::Region);
    ASSERT_TRUE(history.captureBefore(canvas, 0, 0, 4, 4));
    ASSERT_TRUE(canvas.resizeFill(6, 6, 0u));
    ASSERT_TRUE(history.captureAfter(canvas, 0, 0, 6, 6));
    history.beginEntry(UndoKind::WholeCanvas);  // same entry, now restoring the size
    history.commitEntry();
    ASSERT_TRUE(history.undo(canvas));
    EXPECT_EQ(canvas.width(), 4);
    EXPECT_EQ(at(canvas, 3, 3), tag(3, 3));
}
