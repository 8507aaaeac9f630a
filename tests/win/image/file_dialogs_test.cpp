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

constexpr int kFilterCombo = 0x470;    // cmb1
constexpr int kNameCombo = 0x47C;      // cmb13
constexpr int kNameEdit = 0x480;       // edt1
constexpr int kMessageText = 0xFFFF;   // the text of a message box

std::wstring textOf(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

struct Plan {
    std::vector<std::wstring> names;  // typed in turn, each confirmed with OK
    int filter = 0;                   // 1-based filter to pick first; 0 keeps it
    bool cancel = false;              // press Cancel instead of typing names
    int overwriteAnswer = 0;          // IDYES or IDNO for the overwrite question
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
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    std::vector<std::wstring> filters;  // display texts of the filter list
    int initialFilter = 0;              // 1-based
    std::wstring initialName;
    bool askedToOverwrite = false;

private:
    struct Search {
        bool fileDialog;
        HWND found = nullptr;
    };

    static BOOL CALLBACK visit(HWND window, LPARAM data) {
        auto* search = reinterpret_cast<Search*>(data);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (!IsWindowVisible(window) || std::wcscmp(name, L"#32770") != 0) return TRUE;
        const bool isFileDialog = GetDlgItem(window, kFilterCombo) != nullptr;
        const bool isMessageBox = GetDlgItem(window, kMessageText) != nullptr;
        if ((search->fileDialog && isFileDialog) || (!search->fileDialog && isMessageBox)) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }

    // Waits up to 15 s for a dialog of the UI thread.
    HWND waitFor(bool fileDialog) {
        for (int i = 0; i < 750 && !stop_; ++i) {
            Search search{fileDialog};
            EnumThreadWindows(uiThread_, visit, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) return search.found;
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
        HWND dialog = waitFor(true);
        if (dialog == nullptr) return;
        HWND combo = GetDlgItem(dialog, kFilterCombo);
        const int count = int(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring item(size_t(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            item.resize(size_t(SendMessageW(combo, CB_GETLBTEXT, i, LPARAM(item.data()))));
            filters.push_back(item);
        }
        initialFilter = int(SendMessageW(combo, CB_GETCURSEL, 0, 0)) + 1;
        initialName = textOf(nameBox(dialog));

        if (plan_.filter > 0) {
            // A user's pick ends with both notifications; dialogs differ in
            // which one they act on.
            SendMessageW(combo, CB_SETCURSEL, WPARAM(plan_.filter - 1), 0);
            for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) {
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFilterCombo, code), LPARAM(combo));
            }
        }
        if (plan_.cancel) {
            press(dialog, IDCANCEL);
            return;
        }
        for (const std::wstring& name : plan_.names) {
            SetWindowTextW(nameBox(dialog), name.c_str());
            press(dialog, IDOK);
            Sleep(300);
        }
        if (plan_.overwriteAnswer != 0) {
            HWND question = waitFor(false);
            if (question == nullptr) return;
            askedToOverwrite = true;
            press(question, plan_.overwriteAnswer);
            if (plan_.overwriteAnswer == IDNO) {
                Sleep(300);
                press(dialog, IDCANCEL);
            }
        }
        // Whatever else shows up must not keep the test waiting.
        while (!stop_) {
            Sleep(100);
            if (HWND left = waitFor(true)) press(left, IDCANCEL);
        }
    }

    Plan plan_;
    DWORD uiThread_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

using Traits = std::char_traits<char16_t>;

void setText(char16_t* buffer, const std::u16string& text) {
    Traits::copy(buffer, text.c_str(), text.size() + 1);
}

std::u16string textIn(const char16_t* buffer) { return buffer; }

class UiFileDialog : public testing::Test {
protected:
    void SetUp() override {
        choice = FileChoice{};
        setText(choice.filePath, (folder.path() / L"start.png").u16string());
        setText(choice.fileTitle, u"start.png");
        choice.filterIndexNormal = 3;
        choice.filterIndexMask = 2;
    }
    std::wstring in(const wchar_t* name) const { return (folder.path() / name).wstring(); }
    TempFolder folder;
    FileChoice choice;
};

TEST_F(UiFileDialog, ImageSaveListStartsOnTheRememberedFilterAndPath) {
    DialogDriver driver({{in(L"out")}, 0, false, 0});
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 3);
    EXPECT_EQ(driver.filters,
              (std::vector<std::wstring>{L" PNG32(*.png)", L" PNG24(*.png)",
                                         L" 32bit\u30d3\u30c3\u30c8\u30de\u30c3\u30d7(*.bmp)",
                                         L" 24bit\u30d3\u30c3\u30c8\u30de\u30c3\u30d7(*.bmp)"}));
    EXPECT_EQ(driver.initialFilter, 3);
    EXPECT_NE(driver.initialName.find(L"start.png"), std::wstring::npos);
    EXPECT_EQ(choice.filterIndexNormal, 3);
    EXPECT_EQ(choice.filterIndexMask, 2);
}

TEST_F(UiFileDialog, ImageSaveAddsPngAndStoresTheChosenIndexOnOk) {
    choice.filterIndexNormal = 0;  // 0 shows the first filter
    {
        DialogDriver driver({{in(L"out")}, 0, false, 0});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 1);
        EXPECT_EQ(driver.initialFilter, 1);
    }
    EXPECT_EQ(fs::path(textIn(choice.filePath)), folder.path() / L"out.png");
    EXPECT_EQ(textIn(choice.fileTitle), u"out.png");
    EXPECT_EQ(choice.filterIndexNormal, 1);

    DialogDriver driver({{in(L"sheet.bmp")}, 4, false, 0});
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 4);
    EXPECT_EQ(fs::path(textIn(choice.filePath)), folder.path() / L"sheet.bmp");
    EXPECT_EQ(choice.filterIndexNormal, 4);
    EXPECT_EQ(choice.filterIndexMask, 2);
}

TEST_F(UiFileDialog, MaskListAddsBmpAndStoresOnlyTheMaskIndex) {
    {
        DialogDriver driver({{in(L"mask")}, 0, false, 0});
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 2);
        EXPECT_EQ(driver.filters,
                  (std::vector<std::wstring>{L"\u30b0\u30ec\u30a4\u30b9\u30b1\u30fc\u30eb(*.bmp)",
                                             L"PNG24(*.png)", L"BMP24(*.bmp)"}));
        EXPECT_EQ(driver.initialFilter, 2);
    }
    choice.filterIndexMask = 1;
    DialogDriver driver({{in(L"mask")}, 3, false, 0});
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 3);
    EXPECT_EQ(fs::path(textIn(choice.filePath)), folder.path() / L"mask.bmp");
    EXPECT_EQ(choice.filterIndexMask, 3);
    EXPECT_EQ(choice.filterIndexNormal, 3);
}

TEST_F(UiFileDialog, CancelLeavesTheChoiceUntouched) {
    const FileChoice before = choice;
    DialogDriver driver({{}, 3, true, 0});  // even after picking another filter
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kMaskSaveList), 0);
    EXPECT_EQ(std::memcmp(&choice, &before, sizeof choice), 0);
}

TEST_F(UiFileDialog, ExistingFileIsReplacedOnlyAfterConfirmation) {
    testfiles::writeFile(in(L"taken.png"), {1, 2, 3});
    {
        DialogDriver driver({{in(L"taken.png")}, 0, false, IDNO});
        const FileChoice before = choice;
        EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 0);
        EXPECT_TRUE(driver.askedToOverwrite);
        EXPECT_EQ(std::memcmp(&choice, &before, sizeof choice), 0);
    }
    DialogDriver driver({{in(L"taken.png")}, 0, false, IDYES});
    EXPECT_EQ(chooseSaveFile(choice, nullptr, kImageSaveList), 3);
    EXPECT_TRUE(driver.askedToOverwrite);
    EXPECT_EQ(fs::path(textIn(choice.filePath)), folder.path() / L"taken.png");
}

TEST_F(UiFileDialog, OtherSaveListsReturnZeroWithoutADialog) {
    const FileChoice before = choice;
    EXPECT_EQ(chooseSaveFile(choice, nullptr, 2), 0);
    EXPECT_EQ(chooseSaveFile(choice, nullptr, -1), 0);
    EXPECT_EQ(std::memcmp(&choice, &before, sizeof choice), 0);
}

TEST_F(UiFileDialog, OpenEmptiesThePathAndOffersTheSixFilters) {
    DialogDriver driver({{}, 0, true, 0});
    EXPECT_FALSE(chooseOpenFile(choice, nullptr, false));
    EXPECT_EQ(textIn(choice.filePath), u"");
    EXPECT_EQ(driver.filters,
              (std::vector<std::wstring>{L"All Supported Type", L"PNG(*.png)",
                                         L"\u30d3\u30c3\u30c8\u30de\u30c3\u30d7(*.bmp)",
                                         L"JPEG(*.jpg,*.jpeg)", L"GIF(*.gif)",
                                         L"\u3059\u3079\u3066(*.*)"}));
    EXPECT_EQ(driver.initialFilter, 1);
    EXPECT_EQ(driver.initialName, L"");
}

TEST_F(UiFileDialog, OpenReturnsTheChosenPathAndTitle) {
    testfiles::writeFile(in(L"pic.png"), {1});
    DialogDriver driver({{in(L"pic.png")}, 0, false, 0});
    EXPECT_TRUE(chooseOpenFile(choice, nullptr, false));
    EXPECT_EQ(fs::path(textIn(choice.filePath)), folder.path() / L"pic.png");
    EXPECT_EQ(textIn(choice.fileTitle), u"pic.png");
}

TEST_F(UiFileDialog, OpenWithMultipleSelectionListsTheFolderThenEachName) {
    testfiles::writeFile(in(L"a.png"), {1});
    testfiles::writeFile(in(L"b.png"), {2});
    DialogDriver driver({{folder.path().wstring(), L"\"a.png\" \"b.png\""}, 0, false, 0});
    ASSERT_TRUE(chooseOpenFile(choice, nullptr, true));
    std::vector<std::u16string> parts;
    for (const char16_t* p = choice.filePath; *p != u'\0'; p += Traits::length(p) + 1) {
        parts.emplace_back(p);
    }
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_TRUE(fs::equivalent(fs::path(parts[0]), folder.path()));
    EXPECT_EQ(parts[1], u"a.png");
    EXPECT_EQ(parts[2], u"b.png");
}

}  // namespace
