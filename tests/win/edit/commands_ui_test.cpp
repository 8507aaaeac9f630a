// The editing, document and file commands of the real main window, end to
// end: the user's keys and menus in, the canvas, the clipboard, the files
// written and the undo history out.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit/pixel_ops.h"
#include "image/image_loader.h"
#include "image/image_writer.h"
#include "image/png_codec.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/dialog_driver.h"
#include "tests/win/app/ui_harness.h"

namespace {

using testimage::pixelsAre;
using testimage::tag;

void select(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Selection& s = sessionDocument().selection;
    s.gw = s.gh = 1;
    s.x1 = x1, s.y1 = y1, s.x2 = x2, s.y2 = y2;
    updateSelection(s);
}

void newCanvas(int32_t w, int32_t h) {
    ASSERT_TRUE(sessionDocument().canvas.create(w, h));
    testimage::fillTagged(sessionDocument().canvas);
}

// A tagged w x h PNG file.
std::filesystem::path tagged(const std::filesystem::path& path, int32_t w, int32_t h) {
    DIB image(w, h);
    testimage::fillTagged(image);
    EXPECT_TRUE(writePng32(path.u16string().c_str(), image));
    return path;
}

class UiCommands : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ui.started()); }
    TempFolder folder;
    UiSession ui{folder.path()};
};

}  // namespace

TEST_F(UiCommands, CopyTakesTheSelectionClampedOrWithTransparentBackground) {
    newCanvas(100, 100);
    select(-5, -5, 10, 10);
    const uint32_t back = pixelOf(settings().back);
    DIB& copy = ui.doc().copyBuffer;
    for (bool outOfRect : {false, true}) {
        settings().copyOutOfRect = outOfRect;
        const int32_t size = outOfRect ? 16 : 11, shift = outOfRect ? -5 : 0;
        copy.release();
        ui.command(ID_EDIT_COPY);  // through the real clipboard and its listener
        ASSERT_TRUE(ui.pumpUntil([&] { return copy.width() == size && copy.height() == size; }));
        EXPECT_TRUE(pixelsAre(copy, [&](int32_t x, int32_t y) {
            return x + shift < 0 || y + shift < 0 ? back : tag(x + shift, y + shift);
        })) << outOfRect;
    }
}

TEST_F(UiCommands, APasteThatGrowsTheCanvasIsOneUndoStep) {
    newCanvas(100, 100);
    select(90, 90, 109, 109);
    ASSERT_TRUE(ui.doc().copyBuffer.create(50, 50));
    ui.doc().copyBuffer.fillRect(0, 0, 50, 50, 0x80FFFFFFu);
    ui.command(ID_EDIT_PASTE);
    const DIB& canvas = ui.doc().canvas;
    ASSERT_EQ(canvas.width(), 110);
    EXPECT_TRUE(pixelsAre(canvas, [&](int32_t x, int32_t y) {
        if (x >= 90 && y >= 90) return 0x80FFFFFFu;
        return x < 100 && y < 100 ? tag(x, y) : pixelOf(settings().back);
    }));
    ui.command(ID_EDIT_UNDO);
    EXPECT_EQ(canvas.width(), 100);
    EXPECT_TRUE(pixelsAre(canvas, tag));
    EXPECT_EQ(ui.doc().editCount, 0);
}

TEST_F(UiCommands, AbsentColourMadeTransparentShowsZeroAndRecordsNothing) {
    newCanvas(20, 20);
    settings().before = 0x123456;          // no tag has these colour bytes
    DialogAnswerer answers({IDOK, IDOK});  // the colour dialog, then the count
    ui.command(ID_COLOR_MAKE_TRANSPARENT);
    ASSERT_EQ(answers.answeredCount(), 2);
    EXPECT_EQ(answers.text(1), L"0 px");
    EXPECT_EQ(answers.caption(1), L"完了");
    EXPECT_EQ(ui.doc().undoHistory.undoCount(), 0u);
    EXPECT_FALSE(ui.doc().hasUnsavedChanges());
}

// Only a PNG that exists is saved in place; anything else asks for a name.
TEST_F(UiCommands, SaveDecidesByTheFileAndUndoAfterSavingCountsAsAChange) {
    Document& doc = ui.doc();
    for (auto [name, exists, dialog] : {std::tuple{L"photo.jpg", true, true},
                                        {L"gone.png", false, true},
                                        {L"SHEET.PNG", true, false}}) {
        const auto path = folder.path() / name;
        if (exists) writeFileBytes(path, std::string("old"));
        setChoiceFromPath(doc.file, path.u16string().c_str());
        ui.command(ID_EDIT_DELETE);
        DialogDriver driver(DialogPlan{});  // a dialog is cancelled
        ui.command(ID_FILE_SAVE);
        EXPECT_EQ(!driver.filters.empty(), dialog) << path;
        EXPECT_EQ(doc.hasUnsavedChanges(), dialog) << path;
    }
    DIB back;
    EXPECT_EQ(decodePng((folder.path() / L"SHEET.PNG").u16string().c_str(), back),
              kPngTransparentSource);
    ui.command(ID_EDIT_UNDO);  // right after the save: away from the saved state
    EXPECT_EQ(ui.title().back(), L'*');
    ui.command(ID_EDIT_REDO);
    EXPECT_EQ(ui.title().back(), L' ');
}

TEST_F(UiCommands, OpeningIsOneUndoStepAndAFailedLoadKeepsTheDocument) {
    const auto png = tagged(folder.path() / L"opened.png", 7, 5);
    Document& doc = ui.doc();
    {
        DialogDriver driver({png.wstring()});
        ui.command(ID_FILE_OPEN);
    }
    EXPECT_EQ(doc.canvas.width(), 7);
    EXPECT_EQ(std::u16string(doc.file.fileTitle), u"opened.png");
    EXPECT_FALSE(doc.hasUnsavedChanges());
    ui.command(ID_EDIT_UNDO);
    EXPECT_EQ(doc.canvas.width(), 256);
    EXPECT_EQ(doc.editCount, -1);

    const auto missing = folder.path() / L"missing.png";
    setDropPath(doc, missing.u16string().c_str());
    DialogAnswerer answer(IDOK);
    ui.command(ID_DROP_OPEN);
    EXPECT_EQ(answer.text(), L"Load Error");
    EXPECT_EQ(answer.caption(), missing.wstring());
    EXPECT_EQ(doc.canvas.width(), 256);
    EXPECT_EQ(std::u16string(doc.file.fileTitle), u"opened.png");
    EXPECT_EQ(doc.undoHistory.undoCount(), 0u);
}

TEST_F(UiCommands, SelectionAndMaskFilesOverTheEdgeHoldBackgroundAndZero) {
    newCanvas(10, 10);
    select(-2, -3, 4, 5);  // 7 x 9, two columns and three rows outside
    auto inside = [](int32_t x, int32_t y) { return x >= 2 && y >= 3; };
    for (WORD id : {ID_EDIT_SAVE_SELECTION, ID_COLOR_SAVE_MASK}) {
        DialogDriver driver({(folder.path() / L"out").wstring(), 1});  // PNG32, grey BMP
        ui.command(id);
    }
    DIB part;
    ASSERT_EQ(decodePng((folder.path() / L"out.png").u16string().c_str(), part),
              kPngTransparentSource);
    EXPECT_TRUE(pixelsAre(part, [&](int32_t x, int32_t y) {
        return inside(x, y) ? tag(x - 2, y - 3) : pixelOf(settings().back);
    }));
    const Bytes bmp = readFileBytes(folder.path() / L"out.bmp");
    ASSERT_EQ(bmp.size(), 14 + 40 + 1024 + 8 * 9u);  // rows of 7 padded to 8, bottom-up
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 7; ++x)
            ASSERT_EQ(bmp[1078 + (8 - y) * 8 + x], inside(x, y) ? tag(x - 2, y - 3) >> 24 : 0u)
                << x << "," << y;
}

TEST(UiCommandLine, OpensOneFileAndListsSeveralInOrder) {
    TempFolder folder;
    const auto a = folder.path() / L"a.png", b = folder.path() / L"b.png";
    tagged(a, 3, 2);
    tagged(b, 3, 2);
    {
        UiSession ui(folder.path(), L"plimsett.exe \"" + a.wstring() + L"\"");
        ASSERT_TRUE(ui.started());
        ui.pump();
        EXPECT_EQ(ui.doc().canvas.width(), 3);
        EXPECT_EQ(std::u16string(ui.doc().file.filePath), a.u16string());
    }
    UiSession ui(folder.path(), L"plimsett.exe \"" + a.wstring() + L"\" \"" + b.wstring() + L"\"");
    ASSERT_TRUE(ui.started());
    EXPECT_EQ(ui.doc().canvas.width(), 256);  // nothing opened
    // A file list that records the paths it is sent.
    static std::vector<std::wstring> listed;
    listed.clear();
    HWND list =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(
        list, GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == kMsgAddFilePath) listed.emplace_back(reinterpret_cast<wchar_t*>(lp));
            return DefWindowProcW(w, m, wp, lp);
        }));
    ui.doc().fileListDialog = list;
    ui.takeCommands();
    ui.command(ID_FILE_OPEN_COMMAND_LINE);
    EXPECT_EQ(ui.takeCommands(),
              (std::vector<WORD>{ID_FILE_OPEN_COMMAND_LINE, ID_OPTION_FILE_LIST}));
    EXPECT_EQ(listed, (std::vector<std::wstring>{a.wstring(), b.wstring()}));
    ui.doc().fileListDialog = nullptr;
    DestroyWindow(list);
}

TEST(UiClose, PromptAfterARealEditSavesOrNot) {
    struct Case {
        bool hasFile;
        std::vector<int> answers;  // the prompt, then the save dialog if any
        bool closed, saved;
    } cases[] = {
        {true, {IDYES}, true, true},
        {false, {IDYES}, false, false},  // the save dialog is cancelled
        {true, {IDNO}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hasFile << " " << c.answers[0]);
        TempFolder folder;
        const auto path = folder.path() / L"work.png";
        writeFileBytes(path, std::string("old"));
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        if (c.hasFile) setChoiceFromPath(ui.doc().file, path.u16string().c_str());
        ui.command(ID_EDIT_DELETE);
        DialogAnswerer prompt(c.answers);
        DialogDriver saveDialog(DialogPlan{});
        EXPECT_EQ(ui.close(), c.closed);
        EXPECT_EQ(prompt.text(),
                  c.hasFile ? L"work.png へ変更を保存しますか？" : L"変更を保存しますか？");
        EXPECT_EQ(std::filesystem::file_size(path) != 3, c.saved);
    }
}

// Copy, paste and translucent paste by their keys, saved by its key as PNG32,
// and undone back to the file as opened.
TEST_F(UiCommands, RoundTripOfAUsersSprite) {
    const auto saved = folder.path() / L"out.png";
    const auto source = tagged(folder.path() / L"sprite.png", 32, 32).u16string();
    Document& doc = ui.doc();
    setDropPath(doc, source.c_str());
    ui.command(ID_DROP_OPEN);
    select(0, 0, 7, 7);
    ui.pressKey('C', true);
    ASSERT_TRUE(ui.pumpUntil([&] { return doc.copyBuffer.width() == 8; }));
    select(20, 20, 27, 27);
    ui.pressKey('V', true);
    select(4, 12, 11, 19);
    ui.pressKey('V', true, true);
    {
        DialogDriver driver({saved.wstring(), 1});
        ui.pressKey('S', true, true);
    }
    DIB written;
    ASSERT_EQ(decodePng(saved.u16string().c_str(), written), kPngTransparentSource);
    EXPECT_TRUE(pixelsAre(written, [&](int32_t x, int32_t y) {
        if (x >= 20 && y >= 20 && x < 28 && y < 28) return tag(x - 20, y - 20);
        if (x >= 4 && y >= 12 && x < 12 && y < 20)
            return blendPixel(tag(x - 4, y - 12), tag(x, y), BlendMode::Translucent);
        return tag(x, y);
    }));
    EXPECT_FALSE(doc.hasUnsavedChanges());
    ui.pressKey('Z', true);
    ui.pressKey('Z', true);
    EXPECT_TRUE(pixelsAre(doc.canvas, tag));
    ui.pressKey('Z', true);
    EXPECT_EQ(doc.canvas.width(), 256);
}
