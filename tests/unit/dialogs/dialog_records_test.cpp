// What confirming the new canvas and configuration dialogs does to the
// document when the canvas cannot take the size, and the undo step it files;
// the plain cases are driven through the dialogs in tests/win.
#include <gtest/gtest.h>

#include "dialogs/dialog_records.h"
#include "tests/test_support.h"

namespace {

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
    // Nothing recorded, counted or renamed, and the old pixels kept.
    bool untouched() const {
        return doc.undoHistory.undoCount() == 0 && doc.editCount == 0 &&
               doc.file.filePath[0] != u'\0' && doc.canvas.width() == 4 &&
               testimage::pixelsAre(doc.canvas, testimage::tag);
    }
};

// The new image is made before the old one is let go.
TEST(DialogRecords, SizesTheCanvasCannotTakeChangeNothing) {
    Fixture f;
    const EditResult refused = applyNewCanvas(f.doc, f.s, {kHuge, kHuge});
    EXPECT_TRUE(!refused && refused.outOfMemory);  // the user is told why
    EXPECT_EQ(f.s.newImageSize, (ImageSize{256, 256}));
    EXPECT_TRUE(f.untouched());
    ConfigRecord r = configRecordOf(f.s, f.doc.canvas);
    r.width = r.height = kHuge, r.undoLimit = 7;
    EXPECT_FALSE(applyConfig(f.doc, f.s, r).has_value());
    EXPECT_EQ(f.s.undoLimit, 7);  // taken whatever the canvas did
    EXPECT_TRUE(f.untouched());
    // A canvas that fits is a new document, with no file yet.
    ASSERT_TRUE(applyNewCanvas(f.doc, f.s, {3, 2}));
    EXPECT_EQ(f.doc.file.filePath[0], u'\0');
}

}  // namespace
