// The real main window, started in this process and driven by messages:
// start-up, the close prompt and the settings kept across a restart.
#include <gtest/gtest.h>

#include <string>

#include "edit/pixel_ops.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

TEST(UiStartup, ClosingWritesTheSettingsAndTheNextStartTakesThemBack) {
    TempFolder folder;
    {
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        EXPECT_EQ(ui.statusText(2), L"0,0 -> 31,31 (32,32)");
        ui.command(ID_GRID_DIALOG);  // left open: the place it was left at is kept
        SetWindowPos(HWND(ui.doc().gridDialog), nullptr, 130, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        settings().newImageSize = {300, 200};
        settings().back = 0x123456;
        ui.doc().selection.gw = 16;
        DialogAnswerer answerer(IDCANCEL);
        int exitCode = -1;
        ASSERT_TRUE(ui.close(&exitCode));
        EXPECT_FALSE(answerer.answered());  // nothing to save: no question
        EXPECT_EQ(exitCode, 0);
    }
    UiSession again(folder.path());
    ASSERT_TRUE(again.started());
    const DIB& canvas = again.doc().canvas;
    ASSERT_EQ(std::make_pair(canvas.width(), canvas.height()), std::make_pair(300, 200));
    EXPECT_TRUE(testimage::pixelsAre(canvas, [](int32_t, int32_t) { return pixelOf(0x123456); }));
    EXPECT_EQ(again.statusText(2), L"0,0 -> 15,31 (16,32)");
    EXPECT_EQ(settings().wndPos, (IntPair{130, 90}));
}

// After a real edit closing asks; Yes saves (through the save dialog when
// the document has no file), No closes without saving, Cancel keeps the
// window and writes no config.ini.
TEST(UiClose, PromptAfterARealEditSavesOrNot) {
    const struct {
        bool hasFile;
        int button;
        bool closed, saved;
    } cases[] = {
        {true, IDYES, true, true},
        {false, IDYES, false, false},  // the save dialog is cancelled
        {true, IDNO, true, false},
        {true, IDCANCEL, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hasFile << " " << c.button);
        TempFolder folder;
        const auto path = folder.path() / L"work.png";
        writeFileBytes(path, std::string("old"));
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        if (c.hasFile) setChoiceFromPath(ui.doc().file, path.u16string().c_str());
        ui.command(ID_EDIT_DELETE);
        {
            DialogAnswerer prompt({answer(c.button), inFileDialog(L"")});
            EXPECT_EQ(ui.close(), c.closed);
            EXPECT_EQ(prompt.text(),
                      c.hasFile ? L"work.png へ変更を保存しますか？" : L"変更を保存しますか？");
            EXPECT_EQ(prompt.caption(), L"Plimsett");
        }
        EXPECT_EQ(std::filesystem::file_size(path) != 3, c.saved);
        EXPECT_EQ(std::filesystem::exists(folder.path() / L"config.ini"), c.closed);
    }
}
