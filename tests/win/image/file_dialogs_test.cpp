// The save dialogs over a FileChoice, driven from a second thread the way a
// user would; the open dialog is driven end to end by the open command
// (tests/win/edit/commands_ui_test.cpp).
#include "image/file_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "tests/win/app/dialog_driver.h"

namespace {

namespace fs = std::filesystem;

// The display texts of a filter list: every first text of a pair.
std::vector<std::wstring> shownFilters(const char16_t* list) {
    std::vector<std::wstring> shown;
    using Traits = std::char_traits<char16_t>;
    for (const char16_t* p = list; *p;) {
        shown.emplace_back(p, p + Traits::length(p));
        p += Traits::length(p) + 1;  // the pattern
        p += Traits::length(p) + 1;
    }
    return shown;
}

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
        DialogDriver driver({in(L"out")});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 3);
        EXPECT_EQ(driver.filters, shownFilters(saveFilter(kImageSaveList)));
        EXPECT_EQ(driver.initialFilter, 3);
        EXPECT_NE(driver.initialName.find(L"start.png"), std::wstring::npos);
    }
    // The remembered filter is the 32-bit bitmap's.
    EXPECT_EQ(fs::path(std::u16string(choice.filePath)), folder.path() / L"out.bmp");
    EXPECT_EQ(std::u16string(choice.fileTitle), u"out.bmp");
    {
        DialogDriver driver({in(L"mask"), 3});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 3);
        EXPECT_EQ(driver.filters, shownFilters(saveFilter(kMaskSaveList)));
        EXPECT_EQ(driver.initialFilter, 2);
    }
    EXPECT_EQ(std::u16string(choice.fileTitle), u"mask.bmp");
    EXPECT_EQ(choice.filterIndexMask, 3);
    EXPECT_EQ(choice.filterIndexNormal, 3);
}

TEST_F(UiFileDialog, CancelOtherListsAndRefusedOverwriteLeaveTheChoiceUntouched) {
    const FileChoice before = choice;
    {
        DialogDriver driver({L"", 3});  // cancelled after picking another filter
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 0);
    }
    EXPECT_EQ(chooseSaveFile(choice, nullptr, 2), 0);  // no such list: no dialog
    EXPECT_TRUE(unchanged(before));
    writeFileBytes(in(L"taken.png"), Bytes{1, 2, 3});
    {
        DialogDriver driver({in(L"taken.png"), 0, IDNO});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 0);
        EXPECT_TRUE(driver.askedToOverwrite);
    }
    EXPECT_TRUE(unchanged(before));
    DialogDriver driver({in(L"taken.png"), 0, IDYES});
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 3);
    EXPECT_EQ(std::u16string(choice.fileTitle), u"taken.png");
}

}  // namespace
