// The new canvas and configuration dialogs in the real main window, with a
// second thread playing the user.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "edit/pixel_ops.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

const wchar_t kBadParameter[] = L"パラメータが異常です";

// Runs command `id` while the answerer plays the dialogs it opens.
bool runDialog(UiSession& ui, WORD id, std::vector<DialogStep> steps) {
    DialogAnswerer answerer(std::move(steps));
    ui.command(id);
    return answerer.finish();
}

DialogStep cancelIn(const std::wstring& caption) {
    return inDialog(caption, [](HWND d) { press(d, IDCANCEL); });
}

// Size, undo steps and edits of the document: each confirmed change is one of each.
std::array<int64_t, 4> canvasState() {
    const Document& doc = sessionDocument();
    return {doc.canvas.width(), doc.canvas.height(),
            static_cast<int64_t>(doc.undoHistory.undoCount()), doc.editCount};
}

}  // namespace

using UiDialogNewCanvas = UiTest;

// Refused sizes warn and change nothing; a good one makes a canvas of the
// background colour and becomes the size of the next new canvas.
TEST_F(UiDialogNewCanvas, RefusesBadSizesAndKeepsAGoodOne) {
    settings().back = 0x00FF00;
    auto typeSize = [](const wchar_t* width, const wchar_t* height) {
        return inDialog(L"新規作成", [=](HWND d) {
            typeInto(d, IDC_WIDTH, width);
            typeInto(d, IDC_HEIGHT, height);
            press(d, IDOK);
        });
    };
    for (auto [width, height] : {std::pair{L"", L"200"}, {L"300", L"0"}}) {
        EXPECT_TRUE(runDialog(
            ui, ID_FILE_NEW,
            {typeSize(width, height), answerBox(kBadParameter, IDOK), cancelIn(L"新規作成")}));
        EXPECT_EQ(canvasState(), (std::array<int64_t, 4>{256, 256, 0, 0}));
    }
    ASSERT_TRUE(runDialog(ui, ID_FILE_NEW, {typeSize(L"300", L"200")}));
    EXPECT_EQ(canvasState(), (std::array<int64_t, 4>{300, 200, 1, 1}));
    EXPECT_TRUE(testimage::pixelsAre(sessionDocument().canvas,
                                     [](int32_t, int32_t) { return pixelOf(0x00FF00); }));
    EXPECT_EQ(settings().newImageSize, (ImageSize{300, 200}));
}

TEST(UiDialogConfig, OkResizesOnlyAChangedCanvasAndStoresTheOptionsFirst) {
    const struct {
        const wchar_t* width;
        bool refused;  // then the warning is answered and the dialog cancelled
        std::array<int64_t, 4> state;
        int32_t undoLimit;
    } cases[] = {
        {L"300", false, {300, 256, 1, 1}, 5},
        {L"256", false, {256, 256, 0, 0}, 5},
        {L"0", true, {256, 256, 0, 0}, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.state[0] << (c.refused ? " refused" : ""));
        TempFolder folder;
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        testimage::fillTagged(sessionDocument().canvas);
        std::vector<DialogStep> steps{inDialog(L"コンフィグ", [&](HWND d) {
            typeInto(d, IDC_WIDTH, c.width);
            typeInto(d, IDC_UNDO, L"5");
            SendMessageW(GetDlgItem(d, IDC_AUTO_RESIZE), BM_SETCHECK, BST_UNCHECKED, 0);
            press(d, IDOK);
        })};
        if (c.refused)
            steps.insert(steps.end(), {answerBox(kBadParameter, IDOK), cancelIn(L"コンフィグ")});
        ASSERT_TRUE(runDialog(ui, ID_OPTION_CONFIG, std::move(steps)));
        EXPECT_EQ(canvasState(), c.state);
        EXPECT_TRUE(testimage::pixelsAre(sessionDocument().canvas, [](int32_t x, int32_t y) {
            return x < 256 ? testimage::tag(x, y) : pixelOf(settings().back);
        }));
        EXPECT_FALSE(settings().autoResize);  // also by the refused OK
        EXPECT_EQ(settings().undoLimit, c.undoLimit);
    }
}
