// The save dialogs over a FileChoice, driven from a second thread the way a
// user would; the open dialog is driven end to end by the open command
// (tests/win/edit/commands_ui_test.cpp).
#include "image/file_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/win/app/ui_harness.h"

namespace {

namespace fs = std::filesystem;

class UiFileDialog : public testing::Test {
protected:
    void SetUp() override {
        choice = FileChoice{};
        setChoiceFromPath(choice, (folder.path() / L"start.png").u16string().c_str());
        choice.filterIndexNormal = 3;
        choice.filterIndexMask = 2;
    }
    std::wstring in(const wchar_t* name) const { return (folder.path() / name).wstring(); }
    bool unchanged(const FileChoice& before) const {
        return std::memcmp(&choice, &before, sizeof choice) == 0;
    }
    TempFolder folder;
    FileChoice choice;
};

// Each list starts on the filter it remembers and the current path, adds the
// chosen filter's extension and remembers only its own filter.
TEST_F(UiFileDialog, SaveListsStartOnTheirRememberedFilterAndAddTheirExtension) {
    {
        DialogAnswerer save({inFileDialog(in(L"out"))});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 3);
        EXPECT_EQ(save.seen().filter, 3);
        EXPECT_NE(save.seen().name.find(L"start.png"), std::wstring::npos);
    }
    // The remembered filter is the 32-bit bitmap's.
    EXPECT_EQ(fs::path(std::u16string(choice.filePath)), folder.path() / L"out.bmp");
    EXPECT_EQ(std::u16string(choice.fileTitle), u"out.bmp");
    {
        DialogAnswerer save({inFileDialog(in(L"mask"), 3)});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 3);
        EXPECT_EQ(save.seen().filter, 2);
    }
    EXPECT_EQ(std::u16string(choice.fileTitle), u"mask.bmp");
    EXPECT_EQ(choice.filterIndexMask, 3);
    EXPECT_EQ(choice.filterIndexNormal, 3);
}

TEST_F(UiFileDialog, CancelOtherListsAndRefusedOverwriteLeaveTheChoiceUntouched) {
    const FileChoice before = choice;
    {
        DialogAnswerer cancel({inFileDialog(L"", 3)});  // after picking another filter
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 0);
    }
    EXPECT_TRUE(unchanged(before));
    writeFileBytes(in(L"taken.png"), Bytes{1, 2, 3});
    {
        // No to the overwrite question leaves the dialog open; then it is cancelled.
        DialogAnswerer refuse({inFileDialog(in(L"taken.png")), answer(IDNO), inFileDialog(L"")});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 0);
        EXPECT_TRUE(refuse.finish());
    }
    EXPECT_TRUE(unchanged(before));
    DialogAnswerer overwrite({inFileDialog(in(L"taken.png")), answer(IDYES)});
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 3);
    EXPECT_EQ(std::u16string(choice.fileTitle), u"taken.png");
}

}  // namespace
