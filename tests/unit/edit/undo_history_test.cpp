// The undo/redo history: what undo and redo put back, the bound on the undo
// list and the end of the redo chain.
#include "edit/undo_history.h"

#include <gtest/gtest.h>

#include <utility>

#include "tests/test_support.h"

using namespace testimage;

namespace {

using Counts = std::pair<size_t, size_t>;  // undo list, redo stack

class UndoHistoryTest : public testing::Test {
protected:
    void SetUp() override { fillTagged(canvas); }

    // One change as the command layer records it: the rectangle filled with `value`.
    void recordFill(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value) {
        history.beginEntry(UndoKind::Region);
        history.captureBefore(canvas, x, y, w, h);
        canvas.fillRect(x, y, w, h, value);
        history.captureAfter(canvas, x, y, w, h);
        history.commitEntry(limit);
    }

    Counts counts() const { return {history.undoCount(), history.redoCount()}; }

    DIB canvas{6, 6};
    UndoHistory history;
    int32_t limit = 100;  // the Undo setting
};

}  // namespace

// Each commit trims the oldest entries to the limit, compared as unsigned, and
// ends the redo chain even when it keeps nothing.
TEST_F(UndoHistoryTest, CommitTrimsToTheLimitAndEndsTheRedoChain) {
    struct Case {
        int32_t limit;
        uint32_t commits;    // commit i fills pixel (0, 0) with i
        int32_t lastLimit;   // set before the last commit
        size_t keptBefore;   // entries before the last commit
        size_t kept;         // entries after it
        uint32_t firstKept;  // pixel (0, 0) once every entry is undone
    };
    const Case cases[] = {
        {0, 3, 0, 0, 0, 3},
        {2, 3, 2, 2, 2, 1},  // the first change cannot be taken back
        {5, 5, 2, 4, 2, 3},  // a lowered limit trims only at the next commit
        {-1, 150, -1, 149, 150, tag(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        fillTagged(canvas);
        history.clearAll();
        limit = 1;
        recordFill(1, 1, 2, 2, 0xAAu);
        ASSERT_TRUE(history.undo(canvas));  // something to redo

        limit = c.limit;
        for (uint32_t i = 1; i < c.commits; ++i) recordFill(0, 0, 1, 1, i);
        limit = c.lastLimit;
        EXPECT_EQ(history.undoCount(), c.keptBefore);
        recordFill(0, 0, 1, 1, c.commits);
        EXPECT_EQ(counts(), Counts(c.kept, 0));
        EXPECT_FALSE(history.hasPending());
        EXPECT_EQ(canvas.pixelAt(0, 0), c.commits);
        while (history.undo(canvas)) {
        }
        EXPECT_EQ(canvas.pixelAt(0, 0), c.firstKept);
        EXPECT_EQ(canvas.pixelAt(1, 1), tag(1, 1));
    }
}

TEST_F(UndoHistoryTest, GrownCanvasIsShrunkByUndoAndGrownAgainByRedo) {
    DIB big(100, 100);
    fillTagged(big);
    const auto original = snapshot(big);
    history.beginEntry(UndoKind::WholeCanvas);  // a paste at (90, 90) that grows the canvas
    ASSERT_TRUE(history.captureBefore(big, 0, 0, big.width(), big.height()));
    ASSERT_TRUE(big.resizeFill(150, 120, 0x00FFFFFFu));
    ASSERT_TRUE(big.fillRect(90, 90, 60, 30, 0xFF0000FFu));
    ASSERT_TRUE(history.captureAfter(big, 0, 0, big.width(), big.height()));
    history.commitEntry(limit);
    const auto grown = snapshot(big);
    ASSERT_TRUE(history.undo(big));
    EXPECT_EQ(std::pair(big.width(), big.height()), std::pair(100, 100));
    EXPECT_EQ(snapshot(big), original);
    ASSERT_TRUE(history.redo(big));
    EXPECT_EQ(snapshot(big), grown);
}

// A canvas whose size cannot change, as when memory runs out.
struct FixedSizeCanvas : DIB {
    using DIB::DIB;
    bool resizeFill(int32_t, int32_t, uint32_t) override { return false; }
};

TEST_F(UndoHistoryTest, WholeCanvasStepThatCannotResizeChangesNothing) {
    FixedSizeCanvas fixed(4, 4);
    fillTagged(fixed);
    history.beginEntry(UndoKind::WholeCanvas);
    ASSERT_TRUE(history.captureBefore(canvas, 0, 0, 6, 6));  // a 6 x 6 canvas before
    ASSERT_TRUE(history.captureAfter(fixed, 0, 0, 4, 4));
    history.commitEntry(limit);
    EXPECT_FALSE(history.undo(fixed));
    EXPECT_EQ(counts(), Counts(1, 0));  // the entry stays where it was
    EXPECT_TRUE(pixelsAre(fixed, tag));
}

// Short of memory, the oldest undo entries go first, then the redo entries
// farthest from the canvas; dropping stops once the allocation succeeds. A
// size no memory could hold drops nothing.
TEST_F(UndoHistoryTest, ShortMemoryDropsTheOldestEntriesUntilTheAllocationFits) {
    struct Case {
        size_t fitsWithEntries;  // the allocation succeeds once at most this many remain
        bool allocated;
        Counts left;
        int32_t side = 1;  // of the image asked for
    };
    const Case cases[] = {{4, true, {2, 2}},        {3, true, {1, 2}},
                          {1, true, {0, 1}},        {0, true, {0, 0}},
                          {SIZE_MAX, false, {0, 0}}, {0, false, {2, 2}, 40000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fitsWithEntries);
        history.clearAll();
        for (uint32_t i = 1; i <= 4; ++i) recordFill(0, 0, 1, 1, i);
        ASSERT_TRUE(history.undo(canvas) && history.undo(canvas));  // fills 3 and 4 to redo
        const auto fits = [&] {
            return c.fitsWithEntries != SIZE_MAX &&
                   history.undoCount() + history.redoCount() <= c.fitsWithEntries;
        };
        EXPECT_EQ(history.allocateDroppingOldest(c.side, c.side, fits), c.allocated);
        EXPECT_EQ(counts(), c.left);
        if (c.left.second != 0) {  // the nearest redo entry is kept
            ASSERT_TRUE(history.redo(canvas));
            EXPECT_EQ(canvas.pixelAt(0, 0), 3u);
        }
    }
}
