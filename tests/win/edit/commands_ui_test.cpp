// The editing, document and file commands of the real main window, end to
// end: the user's keys and menus in, the canvas, the clipboard, the files
// written and the undo history out.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "edit/pixel_ops.h"
#include "image/image_loader.h"
#include "image/image_writer.h"
#include "image/png_codec.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/unit/edit/test_image.h"
#include "tests/win/app/dialog_driver.h"
#include "tests/win/app/ui_harness.h"

namespace {

using testimage::tag;

void select(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Selection& s = sessionDocument().selection;
    s.gw = s.gh = 1;
    s.x1 = x1, s.y1 = y1, s.x2 = x2, s.y2 = y2;
    updateSelection(s);
}

void command(UiSession& ui, WORD id) {
    SendMessageW(ui.hwnd(), WM_COMMAND, id, 0);
    ui.pump();
}

void newCanvas(int32_t w, int32_t h) {
    DIB& canvas = sessionDocument().canvas;
    ASSERT_TRUE(canvas.create(w, h));
    testimage::fillTagged(canvas);
}

void newCopyBuffer(int32_t w, int32_t h, uint32_t pixel) {
    DIB& copy = sessionDocument().copyBuffer;
    ASSERT_TRUE(copy.create(w, h));
    copy.fillRect(0, 0, w, h, pixel);
}

// Copies through the real clipboard and waits for the listener to take a
// w x h image.
void copyAndWait(UiSession& ui, int32_t w, int32_t h) {
    DIB& copy = sessionDocument().copyBuffer;
    copy.release();
    command(ui, ID_EDIT_COPY);
    ASSERT_TRUE(ui.pumpUntil([&] { return copy.width() == w && copy.height() == h; }));
}

std::u16string u16(const std::filesystem::path& path) { return path.u16string(); }

}  // namespace

TEST(UiCommands, CopyTakesTheSelectionClampedOrWithTransparentBackground) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    newCanvas(100, 100);
    select(-5, -5, 10, 10);
    const uint32_t back = pixelOf(settings().back);
    for (bool outOfRect : {false, true}) {
        SCOPED_TRACE(outOfRect);
        settings().copyOutOfRect = outOfRect;
        const int32_t size = outOfRect ? 16 : 11, shift = outOfRect ? -5 : 0;
        copyAndWait(ui, size, size);
        const DIB& copy = sessionDocument().copyBuffer;
        ASSERT_EQ(copy.width(), size);
        ASSERT_EQ(copy.height(), size);
        EXPECT_TRUE(testimage::pixelsAre(copy, [&](int32_t x, int32_t y) {
            return x + shift < 0 || y + shift < 0 ? back : tag(x + shift, y + shift);
        }));
    }
}

TEST(UiCommands, PastesGrowTheCanvasAsFarAsTheSelectionOrTheImageReaches) {
    struct Case {
        WORD command;
        int32_t x1, y1, x2, y2;
        int32_t copyW, copyH;
        int32_t grownW, grownH;
        int32_t pastedW, pastedH;
    } cases[] = {
        {ID_EDIT_PASTE, 90, 90, 109, 109, 50, 50, 110, 110, 20, 20},
        {ID_EDIT_PASTE, 90, 90, 100, 100, 50, 50, 101, 101, 11, 11},
        {ID_EDIT_PASTE, 90, 90, 99, 99, 50, 50, 100, 100, 10, 10},
        {ID_EDIT_PASTE, 0, 0, 9, 9, 4, 30, 100, 100, 4, 10},
        {ID_EDIT_PASTE_BEYOND, 0, 0, 9, 9, 150, 20, 150, 100, 150, 20},
    };
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    const uint32_t pasted = 0x80FFFFFFu, back = pixelOf(settings().back);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x2 << " " << c.copyW << "x" << c.copyH);
        newCanvas(100, 100);
        select(c.x1, c.y1, c.x2, c.y2);
        newCopyBuffer(c.copyW, c.copyH, pasted);
        command(ui, c.command);
        const DIB& canvas = sessionDocument().canvas;
        ASSERT_EQ(canvas.width(), c.grownW);
        ASSERT_EQ(canvas.height(), c.grownH);
        EXPECT_TRUE(testimage::pixelsAre(canvas, [&](int32_t x, int32_t y) {
            if (x >= c.x1 && y >= c.y1 && x < c.x1 + c.pastedW && y < c.y1 + c.pastedH)
                return pasted;
            return x < 100 && y < 100 ? tag(x, y) : back;
        }));
        command(ui, ID_EDIT_UNDO);  // one step takes the whole paste back
        EXPECT_EQ(canvas.width(), 100);
        EXPECT_TRUE(testimage::pixelsAre(canvas, tag));
    }
    EXPECT_EQ(sessionDocument().editCount, 0);
}

TEST(UiCommands, AbsentColourMadeTransparentShowsZeroAndRecordsNothing) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    newCanvas(20, 20);
    settings().before = 0x123456;          // no tag has these colour bytes
    DialogAnswerer answers({IDOK, IDOK});  // the colour dialog, then the count
    command(ui, ID_COLOR_MAKE_TRANSPARENT);
    ASSERT_EQ(answers.answeredCount(), 2);
    EXPECT_EQ(answers.text(1), L"0 px");
    EXPECT_EQ(answers.caption(1), L"完了");
    EXPECT_EQ(sessionDocument().undoHistory.undoCount(), 0u);
    EXPECT_FALSE(sessionDocument().hasUnsavedChanges());
}

TEST(UiCommands, SaveDecidesByTheFileAndUndoAfterSavingCountsAsAChange) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    Document& doc = sessionDocument();
    struct Case {
        const wchar_t* name;
        bool exists;
        bool dialog;
    } cases[] = {
        {L"photo.jpg", true, true}, {L"gone.png", false, true}, {L"SHEET.PNG", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        const auto path = folder.path() / c.name;
        if (c.exists) std::ofstream(path) << "old";
        setChoiceFromPath(doc.file, u16(path).c_str());
        command(ui, ID_EDIT_DELETE);
        DialogDriver driver(DialogPlan{});  // a dialog is cancelled
        command(ui, ID_FILE_SAVE);
        EXPECT_EQ(!driver.filters.empty(), c.dialog);
        EXPECT_EQ(doc.hasUnsavedChanges(), c.dialog);
        if (!c.dialog) {
            DIB back;
            EXPECT_EQ(decodePng(u16(path).c_str(), back), kPngTransparentSource);
            EXPECT_EQ(back.width(), doc.canvas.width());
        }
    }
    // Undo right after the save leaves the saved state; redo returns to it.
    command(ui, ID_EDIT_UNDO);
    EXPECT_EQ(doc.editCount, -1);
    EXPECT_EQ(ui.title().back(), L'*');
    command(ui, ID_EDIT_REDO);
    EXPECT_FALSE(doc.hasUnsavedChanges());
    EXPECT_EQ(ui.title().back(), L' ');
}

TEST(UiCommands, OpeningIsOneUndoStepAndCountsOnlyOverUnsavedWork) {
    TempFolder folder;
    const auto png = folder.path() / L"opened.png";
    DIB image(7, 5);
    testimage::fillTagged(image);
    ASSERT_TRUE(writePng32(u16(png).c_str(), image));
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    Document& doc = sessionDocument();
    {
        DialogDriver driver({{png.wstring()}});
        command(ui, ID_FILE_OPEN);
    }
    EXPECT_EQ(doc.canvas.width(), 7);
    EXPECT_EQ(std::u16string(doc.file.fileTitle), u"opened.png");
    EXPECT_FALSE(doc.hasUnsavedChanges());
    command(ui, ID_EDIT_UNDO);
    EXPECT_EQ(doc.canvas.width(), 256);
    EXPECT_EQ(doc.editCount, -1);

    // A file that does not load keeps the document and its name.
    setDropPath(doc, u16(folder.path() / L"missing.png").c_str());
    DialogAnswerer answer(IDOK);
    command(ui, ID_DROP_OPEN);
    EXPECT_EQ(answer.text(), L"Load Error");
    EXPECT_EQ(answer.caption(), (folder.path() / L"missing.png").wstring());
    EXPECT_EQ(doc.canvas.width(), 256);
    EXPECT_EQ(std::u16string(doc.file.fileTitle), u"opened.png");
    EXPECT_EQ(doc.undoHistory.undoCount(), 0u);
}

TEST(UiCommands, SelectionAndMaskFilesOverTheEdgeHoldBackgroundAndZero) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    newCanvas(10, 10);
    select(-2, -3, 4, 5);  // 7 x 9, two columns and three rows outside
    const auto inside = [](int32_t x, int32_t y) { return x >= 2 && y >= 3; };
    {
        DialogDriver driver({{(folder.path() / L"part").wstring()}, 1});
        command(ui, ID_EDIT_SAVE_SELECTION);
    }
    DIB part;
    ASSERT_EQ(decodePng(u16(folder.path() / L"part.png").c_str(), part), kPngTransparentSource);
    EXPECT_TRUE(testimage::pixelsAre(part, [&](int32_t x, int32_t y) {
        return inside(x, y) ? tag(x - 2, y - 3) : pixelOf(settings().back);
    }));
    {
        DialogDriver driver({{(folder.path() / L"mask").wstring()}, 1});
        command(ui, ID_COLOR_SAVE_MASK);
    }
    std::ifstream in(folder.path() / L"mask.bmp", std::ios::binary);
    const std::vector<uint8_t> bmp((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    ASSERT_EQ(bmp.size(), 14 + 40 + 1024 + 8 * 9u);  // rows of 7 padded to 8
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 7; ++x)
            ASSERT_EQ(bmp[14 + 40 + 1024 + (8 - y) * 8 + x],
                      inside(x, y) ? tag(x - 2, y - 3) >> 24 : 0u)
                << x << "," << y;
}

TEST(UiCommands, CommandLineOpensOneFileAndListsSeveralInOrder) {
    TempFolder folder;
    const auto a = folder.path() / L"a.png", b = folder.path() / L"b.png";
    DIB image(3, 2);
    testimage::fillTagged(image);
    for (const auto& path : {a, b}) ASSERT_TRUE(writePng32(u16(path).c_str(), image));
    {
        UiSession ui(folder.path(), L"plimsett.exe \"" + a.wstring() + L"\"");
        ASSERT_TRUE(ui.started());
        ui.pump();
        EXPECT_EQ(sessionDocument().canvas.width(), 3);
        EXPECT_EQ(std::u16string(sessionDocument().file.filePath), u16(a));
    }
    UiSession ui(folder.path(), L"plimsett.exe \"" + a.wstring() + L"\" \"" + b.wstring() + L"\"");
    ASSERT_TRUE(ui.started());
    EXPECT_EQ(sessionDocument().canvas.width(), 256);  // nothing opened
    // A file list that records what it is sent.
    static std::vector<std::wstring> listed;
    listed.clear();
    HWND list =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(
        list, GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_USER + 3) listed.emplace_back(reinterpret_cast<wchar_t*>(lp));
            return DefWindowProcW(w, m, wp, lp);
        }));
    sessionDocument().fileListDialog = list;
    ui.takeCommands();
    command(ui, ID_FILE_OPEN_COMMAND_LINE);
    EXPECT_EQ(ui.takeCommands(),
              (std::vector<WORD>{ID_FILE_OPEN_COMMAND_LINE, ID_OPTION_FILE_LIST}));
    EXPECT_EQ(listed, (std::vector<std::wstring>{a.wstring(), b.wstring()}));
    sessionDocument().fileListDialog = nullptr;
    DestroyWindow(list);
}

TEST(UiCommands, ClosePromptAfterARealEdit) {
    struct Case {
        bool hasFile;
        std::vector<int> answers;  // the prompt, then the save dialog if any
        bool closed;
        bool saved;
    } cases[] = {
        {true, {IDYES}, true, true},
        {false, {IDYES}, false, false},  // the save dialog is cancelled
        {true, {IDNO}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hasFile << " " << c.answers[0]);
        TempFolder folder;
        const auto path = folder.path() / L"work.png";
        std::ofstream(path) << "old";
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        if (c.hasFile) setChoiceFromPath(sessionDocument().file, u16(path).c_str());
        command(ui, ID_EDIT_DELETE);
        DialogAnswerer prompt(c.answers);
        DialogDriver saveDialog(DialogPlan{});
        EXPECT_EQ(ui.close(), c.closed);
        EXPECT_EQ(prompt.text(),
                  c.hasFile ? L"work.png へ変更を保存しますか？" : L"変更を保存しますか？");
        EXPECT_EQ(std::filesystem::file_size(path) != 3, c.saved);
    }
}

TEST(UiCommands, RoundTripOfAUsersSprite) {
    TempFolder folder;
    const auto source = folder.path() / L"sprite.png", saved = folder.path() / L"out.png";
    DIB sprite(32, 32);
    testimage::fillTagged(sprite);
    ASSERT_TRUE(writePng32(u16(source).c_str(), sprite));
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    Document& doc = sessionDocument();
    setDropPath(doc, u16(source).c_str());
    command(ui, ID_DROP_OPEN);

    select(0, 0, 7, 7);
    ui.pressKey('C', true);
    ASSERT_TRUE(ui.pumpUntil([&] { return doc.copyBuffer.width() == 8; }));
    select(20, 20, 27, 27);
    ui.pressKey('V', true);
    select(4, 12, 11, 19);
    ui.pressKey('V', true, true);  // translucent
    {
        DialogDriver driver({{saved.wstring()}, 1});
        ui.pressKey('S', true, true);
    }
    DIB written;
    ASSERT_EQ(decodePng(u16(saved).c_str(), written), kPngTransparentSource);
    EXPECT_TRUE(testimage::pixelsAre(written, [&](int32_t x, int32_t y) {
        if (x >= 20 && y >= 20 && x < 28 && y < 28) return tag(x - 20, y - 20);
        if (x >= 4 && y >= 12 && x < 12 && y < 20)
            return blendPixel(tag(x - 4, y - 12), tag(x, y), BlendMode::Translucent);
        return tag(x, y);
    }));
    EXPECT_FALSE(doc.hasUnsavedChanges());
    ui.pressKey('Z', true);
    ui.pressKey('Z', true);
    EXPECT_TRUE(testimage::pixelsAre(doc.canvas, tag));  // the sprite as opened
    ui.pressKey('Z', true);
    EXPECT_EQ(doc.canvas.width(), 256);
}
