// The open and save dialogs, driven from a second thread the way a user
// would: read the filters, pick one, type a name, press OK or Cancel, answer
// the overwrite question.
#include "image/file_dialogs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/win/app/dialog_driver.h"
#include "tests/win/app/ui_harness.h"
#include "tests/win/image/picture_files.h"

namespace {

namespace fs = std::filesystem;
class UiFileDialog : public testing::Test {
protected:
    void SetUp() override {
        choice = FileChoice{};
        const std::u16string start = (folder.path() / L"start.png").u16string();
        std::char_traits<char16_t>::copy(choice.filePath, start.c_str(), start.size() + 1);
        std::char_traits<char16_t>::copy(choice.fileTitle, u"start.png", 10);
        choice.filterIndexNormal = 3;
        choice.filterIndexMask = 2;
    }
    std::wstring in(const wchar_t* name) const { return (folder.path() / name).wstring(); }
    void expectChosen(const wchar_t* name) const {
        EXPECT_EQ(fs::path(std::u16string(choice.filePath)), folder.path() / name);
        EXPECT_EQ(fs::path(std::u16string(choice.fileTitle)), fs::path(name));
    }
    bool unchanged(const FileChoice& before) const {
        return std::memcmp(&choice, &before, sizeof choice) == 0;
    }
    TempFolder folder;
    FileChoice choice;
};

TEST_F(UiFileDialog, ImageSaveStartsOnTheRememberedFilterAndPathAndAddsPng) {
    {
        DialogDriver driver({{in(L"out")}});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 3);
        EXPECT_EQ(driver.filters, (Texts{L" PNG32(*.png)", L" PNG24(*.png)",
                                         L" 32bit\u30d3\u30c3\u30c8\u30de\u30c3\u30d7(*.bmp)",
                                         L" 24bit\u30d3\u30c3\u30c8\u30de\u30c3\u30d7(*.bmp)"}));
        EXPECT_EQ(driver.initialFilter, 3);
        EXPECT_NE(driver.initialName.find(L"start.png"), std::wstring::npos);
        EXPECT_EQ(choice.filterIndexMask, 2);
    }
    choice.filterIndexNormal = 0;  // 0 shows the first filter
    {
        DialogDriver driver({{in(L"out")}});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 1);
        EXPECT_EQ(driver.initialFilter, 1);
    }
    expectChosen(L"out.png");
    EXPECT_EQ(choice.filterIndexNormal, 1);

    DialogDriver driver({{in(L"sheet.bmp")}, 4});
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 4);
    expectChosen(L"sheet.bmp");
    EXPECT_EQ(choice.filterIndexNormal, 4);
    EXPECT_EQ(choice.filterIndexMask, 2);
}

TEST_F(UiFileDialog, MaskSaveAddsBmpAndStoresOnlyTheMaskIndex) {
    {
        DialogDriver driver({{in(L"mask")}});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 2);
        EXPECT_EQ(driver.filters, (Texts{L"\u30b0\u30ec\u30a4\u30b9\u30b1\u30fc\u30eb(*.bmp)",
                                         L"PNG24(*.png)", L"BMP24(*.bmp)"}));
        EXPECT_EQ(driver.initialFilter, 2);
    }
    choice.filterIndexMask = 1;
    DialogDriver driver({{in(L"mask")}, 3});
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 3);
    expectChosen(L"mask.bmp");
    EXPECT_EQ(choice.filterIndexMask, 3);
    EXPECT_EQ(choice.filterIndexNormal, 3);
}

TEST_F(UiFileDialog, CancelOtherListsAndRefusedOverwriteLeaveTheChoiceUntouched) {
    const FileChoice before = choice;
    {
        DialogDriver driver({{}, 3});  // cancelled after picking another filter
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 0);
    }
    EXPECT_TRUE(unchanged(before));
    EXPECT_EQ(chooseSaveFile(choice, nullptr, 2), 0);  // no dialog
    EXPECT_EQ(chooseSaveFile(choice, nullptr, -1), 0);
    EXPECT_TRUE(unchanged(before));

    testfiles::writeFile(in(L"taken.png"), {1, 2, 3});
    {
        DialogDriver driver({{in(L"taken.png")}, 0, IDNO});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 0);
        EXPECT_TRUE(driver.askedToOverwrite);
    }
    EXPECT_TRUE(unchanged(before));
    DialogDriver driver({{in(L"taken.png")}, 0, IDYES});
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 3);
    EXPECT_TRUE(driver.askedToOverwrite);
    expectChosen(L"taken.png");
}

TEST_F(UiFileDialog, OpenEmptiesThePathAndOffersTheSixFilters) {
    DialogDriver driver(DialogPlan{});  // cancelled
    EXPECT_FALSE(chooseOpenFile(choice, nullptr, false));
    EXPECT_EQ(std::u16string(choice.filePath), u"");
    EXPECT_EQ(
        driver.filters,
        (Texts{L"All Supported Type", L"PNG(*.png)", L"\u30d3\u30c3\u30c8\u30de\u30c3\u30d7(*.bmp)",
               L"JPEG(*.jpg,*.jpeg)", L"GIF(*.gif)", L"\u3059\u3079\u3066(*.*)"}));
    EXPECT_EQ(driver.initialFilter, 1);
    EXPECT_EQ(driver.initialName, L"");
}

TEST_F(UiFileDialog, OpenReturnsOneFileOrTheFolderThenEachName) {
    for (const wchar_t* name : {L"a.png", L"b.png"}) testfiles::writeFile(in(name), {1});
    {
        DialogDriver driver({{in(L"a.png")}});
        EXPECT_TRUE(chooseOpenFile(choice, nullptr, false));
        expectChosen(L"a.png");
    }
    DialogDriver driver({{folder.path().wstring(), L"\"a.png\" \"b.png\""}});
    ASSERT_TRUE(chooseOpenFile(choice, nullptr, true));
    std::vector<std::u16string> parts;
    for (const char16_t* p = choice.filePath; *p != u'\0'; p += parts.back().size() + 1) {
        parts.emplace_back(p);
    }
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_TRUE(fs::equivalent(fs::path(parts[0]), folder.path()));
    EXPECT_EQ(parts[1], u"a.png");
    EXPECT_EQ(parts[2], u"b.png");
}

}  // namespace
