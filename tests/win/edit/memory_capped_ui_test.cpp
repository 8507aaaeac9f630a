// Editing a large canvas when memory runs short, in a process whose address
// space is capped (the test group win_tests.capped_memory).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

constexpr int32_t kSide = 4096;  // 64 MiB a snapshot
constexpr wchar_t kShortage[] = L"メモリが足りないため、この操作は行われませんでした。";

// True when the process cannot take 3 GiB more; otherwise the test proves nothing.
bool memoryIsCapped() {
    void* probe = std::malloc(size_t{3} << 30);
    std::free(probe);
    return probe == nullptr;
}

}  // namespace

TEST(UiCappedMemory, EditsDropTheOldestUndoEntriesAndWhatNeverFitsChangesNothing) {
    ASSERT_TRUE(memoryIsCapped()) << "run this group with its address space capped";
    TempFolder folder;
    UiSession ui{folder.path()};
    ASSERT_TRUE(ui.started());
    Document& doc = ui.doc();
    settings().undoLimit = 1000;
    ASSERT_TRUE(doc.copyBuffer.create(kSide, kSide));
    testimage::fillTagged(doc.copyBuffer);

    // Each opening of the copy as the canvas is a whole-canvas entry of two
    // snapshots: far more of them than the capped memory holds.
    constexpr size_t kOpenings = 30;
    for (size_t i = 0; i < kOpenings; ++i) ui.command(ID_FILE_OPEN_CLIPBOARD);
    EXPECT_EQ(doc.editCount, int32_t{kOpenings});
    const size_t kept = doc.undoHistory.undoCount();
    EXPECT_GT(kept, 2u);
    EXPECT_LT(kept, kOpenings);  // the oldest were dropped
    selectPixels(0, 0, kSide - 1, kSide - 1);
    ui.command(ID_COLOR_INVERT);
    EXPECT_EQ(doc.canvas.pixelAt(7, 9), testimage::tag(7, 9) ^ 0x00FFFFFFu);
    ui.command(ID_EDIT_UNDO);
    EXPECT_TRUE(testimage::pixelsAre(doc.canvas, testimage::tag));

    // Growing the canvas to 30000 x 30000 (3.4 GiB) cannot fit even with
    // the history emptied: the canvas and the counts stay, and a box says why.
    const int32_t edits = doc.editCount;
    DialogAnswerer answers({answerBox(kShortage, IDOK)});
    selectPixels(30000 - kSide, 30000 - kSide, 29999, 29999);
    ui.command(ID_EDIT_PASTE);
    ASSERT_TRUE(answers.finish());
    EXPECT_EQ(answers.caption(), L"メモリ不足");
    EXPECT_EQ(std::pair(doc.canvas.width(), doc.canvas.height()), std::pair(kSide, kSide));
    EXPECT_TRUE(testimage::pixelsAre(doc.canvas, testimage::tag));
    EXPECT_EQ(doc.editCount, edits);
    EXPECT_EQ(doc.undoHistory.undoCount() + doc.undoHistory.redoCount(), 0u);
}
