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

#include "tests/win/app/ui_harness.h"
#include "tests/win/image/picture_files.h"

namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::wstring>;

constexpr int kFilterCombo = 0x470;   // cmb1
constexpr int kNameCombo = 0x47C;     // cmb13
constexpr int kNameEdit = 0x480;      // edt1
constexpr int kMessageText = 0xFFFF;  // the text of a message box

// What the user does; a dialog still open afterwards is cancelled.
struct Plan {
    Texts names;              // typed in turn, each confirmed with OK
    int filter = 0;           // 1-based filter to pick first; 0 keeps it
    int overwriteAnswer = 0;  // IDYES or IDNO for the overwrite question
};

// Watches the dialogs of the test's thread from a thread of its own.
class DialogDriver {
public:
    explicit DialogDriver(Plan plan)
        : plan_(std::move(plan)), uiThread_(GetCurrentThreadId()), thread_([this] { run(); }) {}
    ~DialogDriver() {
        stop_ = true;
        thread_.join();
    }

    Texts filters;          // display texts of the filter list
    int initialFilter = 0;  // 1-based
    std::wstring initialName;
    bool askedToOverwrite = false;

private:
    // Waits up to 15 s for a visible dialog of the UI thread that has the
    // control: a file dialog's filter list or a message box's text.
    HWND waitFor(int controlId) {
        for (int i = 0; i < 750 && !stop_; ++i) {
            HWND w = nullptr;
            while ((w = FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr) {
                if (GetWindowThreadProcessId(w, nullptr) == uiThread_ && IsWindowVisible(w) &&
                    GetDlgItem(w, controlId) != nullptr) {
                    return w;
                }
            }
            Sleep(20);
        }
        return nullptr;
    }

    static void press(HWND dialog, int id) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    static HWND nameBox(HWND dialog) {
        HWND box = GetDlgItem(dialog, kNameCombo);
        return box != nullptr ? box : GetDlgItem(dialog, kNameEdit);
    }

    void run() {
        HWND dialog = waitFor(kFilterCombo);
        if (dialog == nullptr) return;
        HWND combo = GetDlgItem(dialog, kFilterCombo);
        const int count = int(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring item(size_t(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            item.resize(size_t(SendMessageW(combo, CB_GETLBTEXT, i, LPARAM(item.data()))));
            filters.push_back(item);
        }
        initialFilter = int(SendMessageW(combo, CB_GETCURSEL, 0, 0)) + 1;
        initialName.resize(size_t(GetWindowTextLengthW(nameBox(dialog))) + 1);
        initialName.resize(
            size_t(GetWindowTextW(nameBox(dialog), initialName.data(), int(initialName.size()))));
        if (plan_.filter > 0) {
            // A user's pick ends with both notifications; dialogs differ in
            // which one they act on.
            SendMessageW(combo, CB_SETCURSEL, WPARAM(plan_.filter - 1), 0);
            for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) {
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFilterCombo, code), LPARAM(combo));
            }
        }
        for (const std::wstring& name : plan_.names) {
            SetWindowTextW(nameBox(dialog), name.c_str());
            press(dialog, IDOK);
            Sleep(300);
        }
        if (plan_.overwriteAnswer != 0) {
            HWND question = waitFor(kMessageText);
            if (question == nullptr) return;
            askedToOverwrite = true;
            press(question, plan_.overwriteAnswer);
        }
        while (!stop_) {
            Sleep(100);
            if (HWND left = waitFor(kFilterCombo)) press(left, IDCANCEL);
        }
    }

    Plan plan_;
    DWORD uiThread_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

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
    DialogDriver driver(Plan{});  // cancelled
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
