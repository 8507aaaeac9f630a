// What confirming the new canvas and configuration dialogs does to the
// document: sizes the canvas can or cannot take, the pixels kept, the undo
// step and the counters.
#include <gtest/gtest.h>

#include "dialogs/dialog_records.h"
#include "edit/edit_commands.h"
#include "edit/pixel_ops.h"
#include "tests/test_support.h"

namespace {

using testimage::tag;

constexpr int32_t kHuge = 40000;  // more pixels than any canvas may have

// A 4 x 3 tagged canvas with a file name; the background is green.
struct Fixture {
    Document doc;
    Settings s;
    Fixture() {
        doc.canvas.create(4, 3);
        testimage::fillTagged(doc.canvas);
        s.back = 0x00FF00;
        setChoiceFromPath(doc.file, u"C:\\pictures\\old.png");
    }
    // Old pixels where the canvas kept them, the background elsewhere.
    testing::AssertionResult keptOldPixels() const {
        return testimage::pixelsAre(doc.canvas, [](int32_t x, int32_t y) {
            return x < 4 && y < 3 ? tag(x, y) : pixelOf(0x00FF00);
        });
    }
};

TEST(DialogRecords, NewCanvasReplacesTheDocumentOnlyWhenItCanBeMade) {
    for (const int32_t side : {300, kHuge}) {
        SCOPED_TRACE(side);
        Fixture f;
        const bool made = side != kHuge;
        ASSERT_EQ(applyNewCanvas(f.doc, f.s, {side, side}).has_value(), made);
        EXPECT_EQ(f.doc.undoHistory.undoCount(), made ? 1u : 0u);
        EXPECT_EQ(f.doc.editCount, made ? 1 : 0);
        EXPECT_EQ(f.doc.file.filePath[0] == u'\0', made);
        EXPECT_EQ(f.s.newImageSize, (made ? ImageSize{300, 300} : ImageSize{256, 256}));
        if (made) {
            EXPECT_EQ(f.doc.canvas.width(), 300);
            EXPECT_TRUE(testimage::pixelsAre(f.doc.canvas,
                                             [](int32_t, int32_t) { return pixelOf(0x00FF00); }));
            ASSERT_TRUE(undoEdit(f.doc));  // the old canvas comes back whole
        }
        ASSERT_EQ(f.doc.canvas.width(), 4);
        EXPECT_TRUE(f.keptOldPixels());
    }
}

TEST(DialogRecords, ConfigResizesInPlaceAsOneStepOnlyWhenTheSizeChanges) {
    const struct {
        int32_t w, h;
        bool changed;
    } cases[] = {
        {6, 3, true},  {4, 5, true},   {2, 2, true},           // grown, grown, shrunk
        {4, 3, false}, {-5, 3, false}, {kHuge, kHuge, false},  // same size, or one it cannot take
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        Fixture f;
        ConfigRecord r = configRecordOf(f.s, f.doc.canvas);
        r.width = c.w, r.height = c.h, r.undoLimit = 7, r.boxSize = 9;
        EXPECT_EQ(applyConfig(f.doc, f.s, r).has_value(), c.changed);
        EXPECT_EQ(f.doc.undoHistory.undoCount(), c.changed ? 1u : 0u);
        EXPECT_EQ(f.doc.editCount, c.changed ? 1 : 0);
        EXPECT_EQ(f.s.undoLimit, 7);  // taken whatever the canvas did
        EXPECT_EQ(f.s.boxSize, 9);
        EXPECT_EQ(f.doc.canvas.width(), c.changed ? c.w : 4);
        EXPECT_EQ(f.doc.canvas.height(), c.changed ? c.h : 3);
        EXPECT_TRUE(f.keptOldPixels());
    }
}

TEST(DialogRecords, ConfigFilesItsStepUnderTheNewUndoCount) {
    Fixture f;
    ConfigRecord r = configRecordOf(f.s, f.doc.canvas);
    for (int32_t w : {5, 6, 7}) {
        r.width = w;
        applyConfig(f.doc, f.s, r);
    }
    r.width = 8, r.undoLimit = 1;
    applyConfig(f.doc, f.s, r);
    EXPECT_EQ(f.doc.undoHistory.undoCount(), 1u);
}

}  // namespace
