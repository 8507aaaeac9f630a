// The clipboard listener, dropped files and the copy viewer in the real main
// window; other programs' clipboard data comes from a second process.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "image/image_writer.h"
#include "image/png_codec.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/test_support.h"
#include "tests/win/app/ui_harness.h"

namespace {

using Bytes = std::vector<uint8_t>;
using testimage::tag;

constexpr WPARAM kMarker = 48815;
constexpr DWORD kCopy = 1, kMove = 2;  // drop effects

// A 32-bit block as other programs make it; rows bottom-up unless the height
// is negative. Pixels are tag(x, y), graded alpha included.
Bytes dibBlock(int32_t w, int32_t h, size_t cutPixelBytes = 0) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = w;
    header.biHeight = h;
    header.biPlanes = 1;
    header.biBitCount = 32;
    Bytes block(sizeof header);
    std::memcpy(block.data(), &header, sizeof header);
    const int32_t rows = std::abs(h);
    for (int32_t r = 0; r < rows; ++r) {
        const int32_t y = h > 0 ? rows - 1 - r : r;
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = tag(x, y);
            block.insert(block.end(), reinterpret_cast<const uint8_t*>(&p),
                         reinterpret_cast<const uint8_t*>(&p) + 4);
        }
    }
    block.resize(block.size() - cutPixelBytes);
    return block;
}

Bytes withHeader(Bytes block, size_t offset, int32_t value) {
    std::memcpy(block.data() + offset, &value, 4);
    return block;
}

// A DROPFILES block with UTF-16 names.
Bytes fileList(const std::vector<std::wstring>& paths) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    Bytes block(sizeof header);
    std::memcpy(block.data(), &header, sizeof header);
    for (const std::wstring& path : paths) {
        auto* text = reinterpret_cast<const uint8_t*>(path.c_str());
        block.insert(block.end(), text, text + (path.size() + 1) * 2);
    }
    block.insert(block.end(), {0, 0});
    return block;
}

Bytes dropEffect(DWORD effect) {
    return Bytes(reinterpret_cast<uint8_t*>(&effect), reinterpret_cast<uint8_t*>(&effect) + 4);
}

std::filesystem::path besideTests(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / name;
}

// Runs the other program with `arguments`; its exit code.
DWORD runPeer(const std::wstring& arguments) {
    std::wstring command =
        L"\"" + besideTests(L"clipboard_peer.exe").wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return 100;
    }
    WaitForSingleObject(process.hProcess, 10000);
    DWORD code = 101;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// Another program puts `blocks` (format, bytes) on the clipboard and exits;
// then the main window's notification is waited for.
void putFromOtherProgram(UiSession& ui, const TempFolder& folder,
                         const std::vector<std::pair<std::wstring, Bytes>>& blocks) {
    std::wstring arguments;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const auto file = folder.path() / (L"block" + std::to_wstring(i));
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(blocks[i].second.data()),
                   static_cast<std::streamsize>(blocks[i].second.size()));
        arguments += L" \"" + blocks[i].first + L"\" \"" + file.wstring() + L"\"";
    }
    const int updates = ui.clipboardUpdates();
    ASSERT_EQ(runPeer(arguments), 0u);
    ASSERT_TRUE(ui.pumpUntil([&] { return ui.clipboardUpdates() > updates; }));
    ui.pump();
}

void putImage(UiSession& ui, const TempFolder& folder, const Bytes& dib) {
    putFromOtherProgram(ui, folder, {{L"8", dib}});
}

// A plain top-level window of the test in front of the main window.
struct OtherWindow {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, nullptr, nullptr);
    OtherWindow() { SetForegroundWindow(hwnd); }
    ~OtherWindow() { DestroyWindow(hwnd); }
};

testing::AssertionResult copyBufferIsTagged(int32_t w, int32_t h, int32_t x0 = 0, int32_t y0 = 0) {
    const DIB& copy = sessionDocument().copyBuffer;
    if (copy.width() != w || copy.height() != h)
        return testing::AssertionFailure() << copy.width() << "x" << copy.height();
    return testimage::pixelsAre(copy, [&](int32_t x, int32_t y) { return tag(x0 + x, y0 + y); });
}

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

HWND viewer() { return static_cast<HWND>(sessionDocument().copyViewer); }

}  // namespace

TEST(UiClipboard, OwnCopyPutsTheExactBlockAndComesBackWithItsAlpha) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    testimage::fillTagged(sessionDocument().canvas);
    Selection& sel = sessionDocument().selection;
    sel.gw = sel.gh = 1;
    sel.x1 = 3, sel.y1 = 5, sel.x2 = 12, sel.y2 = 9;
    updateSelection(sel);

    const int updates = ui.clipboardUpdates();
    ui.pressKey('C', true);
    ASSERT_TRUE(ui.pumpUntil([&] { return ui.clipboardUpdates() > updates; }));
    ui.pump();

    Bytes expected(40 + 10 * 5 * 4);
    const uint32_t header[] = {40, 10, 5, 1 | 32 << 16, 0, 0, 0, 0, 0, 0};
    std::memcpy(expected.data(), header, 40);
    for (int32_t r = 0; r < 5; ++r)  // bottom-up: the last image row first
        for (int32_t x = 0; x < 10; ++x) {
            const uint32_t p = tag(3 + x, 9 - r);
            std::memcpy(&expected[40 + (r * 10 + x) * 4], &p, 4);
        }
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL block = GetClipboardData(CF_DIB);
    Bytes onClipboard(static_cast<uint8_t*>(GlobalLock(block)),
                      static_cast<uint8_t*>(GlobalLock(block)) + GlobalSize(block));
    GlobalUnlock(block);
    GlobalUnlock(block);
    CloseClipboard();
    EXPECT_EQ(onClipboard, expected);

    EXPECT_TRUE(copyBufferIsTagged(10, 5, 3, 5));
    EXPECT_EQ(ui.statusText(4), L"10 x 5");
    ui.command(ID_OPTION_COPY_VIEWER);
    EXPECT_EQ(windowText(viewer()), L"copy viewer 10x5 [x1.00]");
}

TEST(UiClipboard, AnotherProgramsImageIsTakenAtOnceEvenInTheBackground) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    OtherWindow other;
    ASSERT_NE(GetForegroundWindow(), ui.hwnd());
    putImage(ui, folder, dibBlock(7, 3));
    EXPECT_TRUE(copyBufferIsTagged(7, 3));
    EXPECT_EQ(ui.statusText(4), L"7 x 3");
    putImage(ui, folder, dibBlock(5, -4));  // rows top-down
    EXPECT_TRUE(copyBufferIsTagged(5, 4));
}

TEST(UiClipboard, OurOwnCheckWaitsForTheForegroundAndOthersWaitForActivation) {
    struct Case {
        bool inFront;
        WPARAM check;
        bool takenAtOnce;
        bool pending;
        bool takenOnActivation;
    } cases[] = {
        {true, kMarker, true, false, true},
        {false, kMarker, false, false, false},  // the start-up rule: nothing waits
        {false, 1, false, true, true},
    };
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    putImage(ui, folder, dibBlock(6, 2));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inFront << " " << c.check);
        sessionDocument().copyBuffer.release();
        {
            OtherWindow other;
            if (c.inFront) SetForegroundWindow(ui.hwnd());
            PostMessageW(ui.hwnd(), WM_CLIPBOARDUPDATE, c.check, 0);
            ui.pumpFor(100);
            EXPECT_EQ(sessionDocument().copyBuffer.isValid(), c.takenAtOnce);
            EXPECT_EQ(sessionDocument().clipboardPending, c.pending);
        }
        SetForegroundWindow(ui.hwnd());
        ui.pumpFor(100);
        EXPECT_EQ(sessionDocument().copyBuffer.isValid(), c.takenOnActivation);
    }
}

TEST(UiClipboard, CopiedFilesFillTheCopyBufferOrGoToTheFileList) {
    TempFolder folder;
    const std::wstring png = (folder.path() / L"über.png").wstring();
    DIB image(5, 4);
    testimage::fillTagged(image);
    ASSERT_TRUE(writePng32(reinterpret_cast<const char16_t*>(png.c_str()), image));
    struct Case {
        DWORD effect;
        int files;
        bool checkFileCopy;
        bool filled;
        bool fileList;
    } cases[] = {
        {kCopy, 1, true, true, false},
        {kMove, 1, true, false, false},
        {kCopy, 3, true, false, true},
        {kCopy, 1, false, false, false},
    };
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.effect << " " << c.files << " " << c.checkFileCopy);
        sessionDocument().copyBuffer.release();
        settings().checkFileCopy = c.checkFileCopy;
        ui.takeCommands();
        putFromOtherProgram(ui, folder,
                            {{L"15", fileList(std::vector<std::wstring>(c.files, png))},
                             {L"Preferred DropEffect", dropEffect(c.effect)}});
        EXPECT_EQ(copyBufferIsTagged(5, 4), c.filled);
        const std::vector<WORD> commands = ui.takeCommands();
        EXPECT_EQ(std::count(commands.begin(), commands.end(), ID_OPTION_FILE_LIST), c.fileList);
    }
}

TEST(UiClipboard, DamagedClipboardImagesLeaveTheCopyBufferAlone) {
    const Bytes good = dibBlock(4, 4);
    const std::pair<const char*, Bytes> cases[] = {
        {"pixels shorter than the header says", dibBlock(4, 4, 1)},
        {"shorter than any header", Bytes(3, 40)},
        {"header cut", Bytes(good.begin(), good.begin() + 20)},
        {"absurd size", withHeader(withHeader(good, 4, 0x7FFFFFFF), 8, 0x7FFFFFFF)},
        {"negative width", withHeader(good, 4, -4)},
        {"header size beyond the block", withHeader(good, 0, 0x7FFFFFF0)},
        {"compressed data no decoder takes", withHeader(good, 16, BI_JPEG)},
    };
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    putImage(ui, folder, dibBlock(3, 2));
    for (const auto& [name, block] : cases) {
        SCOPED_TRACE(name);
        putImage(ui, folder, block);
        EXPECT_TRUE(copyBufferIsTagged(3, 2));
        EXPECT_TRUE(IsWindow(ui.hwnd()));
    }
}

namespace {

// Watches for the drop popup menu from inside its modal loop, and closes it.
int shownMenuItems = -1;
void CALLBACK closeShownMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    shownMenuItems =
        GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)));
    EndMenu();
}

HDROP dropOf(const std::vector<std::wstring>& paths) {
    const Bytes block = fileList(paths);
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE, block.size());
    std::memcpy(GlobalLock(drop), block.data(), block.size());
    GlobalUnlock(drop);
    return static_cast<HDROP>(drop);
}

}  // namespace

TEST(UiDrop, OneFileRunsTheDropActionAndSeveralGoToTheFileList) {
    TempFolder folder;
    const std::wstring png = (folder.path() / L"drop.png").wstring();
    DIB image(6, 5);
    testimage::fillTagged(image);
    ASSERT_TRUE(writePng32(reinterpret_cast<const char16_t*>(png.c_str()), image));
    struct Case {
        int32_t action;
        int files;
        bool onViewer;
        std::vector<WORD> commands;
        int menuItems;
    } cases[] = {
        {1, 1, false, {ID_DROP_PASTE}, -1},       {2, 1, false, {ID_DROP_OPEN}, -1},
        {7, 1, false, {ID_DROP_COPY}, -1},        {3, 1, false, {}, 4},
        {1, 2, false, {ID_OPTION_FILE_LIST}, -1}, {2, 1, true, {ID_DROP_OPEN}, -1},
    };
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    ui.command(ID_OPTION_COPY_VIEWER);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.action << " " << c.files << " " << c.onViewer);
        settings().ddActionType = c.action;
        sessionDocument().copyBuffer.release();
        shownMenuItems = -1;
        ui.takeCommands();
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, closeShownMenu);
        SendMessageW(c.onViewer ? viewer() : ui.hwnd(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(dropOf(std::vector<std::wstring>(c.files, png))), 0);
        KillTimer(nullptr, timer);
        EXPECT_EQ(ui.takeCommands(), c.commands);
        EXPECT_EQ(shownMenuItems, c.menuItems);
        EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(sessionDocument().dropPath)), png);
        if (c.action == 7) {  // the copy comes back through the clipboard
            EXPECT_TRUE(ui.pumpUntil([] { return sessionDocument().copyBuffer.isValid(); }));
            EXPECT_TRUE(copyBufferIsTagged(6, 5));
        }
    }
}

TEST(UiCopyViewer, TitleZoomAndScrollRangesFollowTheCopyBuffer) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    ui.command(ID_OPTION_COPY_VIEWER);
    HWND view = viewer();
    ASSERT_TRUE(view);
    auto bar = [&](int which) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(view, which, &info);
        return info;
    };
    EXPECT_EQ(windowText(view), L"copy viewer");
    EXPECT_EQ(bar(SB_HORZ).nMax, 0);
    EXPECT_EQ(bar(SB_VERT).nMax, 0);

    // The client area 300 pixels wide, the buffer 1000 x 10 at zoom 2.
    RECT client{}, frame{};
    GetClientRect(view, &client);
    GetWindowRect(view, &frame);
    SetWindowPos(view, nullptr, 0, 0, frame.right - frame.left + 300 - client.right, 300,
                 SWP_NOMOVE | SWP_NOZORDER);
    sessionDocument().copyBuffer.create(1000, 10);
    auto wheel = [&](int steps, int delta) {
        for (int i = 0; i < steps; ++i) SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
    };
    wheel(4, WHEEL_DELTA);
    EXPECT_EQ(windowText(view), L"copy viewer 1000x10 [x2.00]");
    EXPECT_EQ(bar(SB_HORZ).nMax, 2000);
    EXPECT_EQ(bar(SB_HORZ).nPage, 300u);
    wheel(1, WHEEL_DELTA);
    EXPECT_EQ(windowText(view), L"copy viewer 1000x10 [x2.25]");
    wheel(20, -WHEEL_DELTA);
    EXPECT_EQ(windowText(view), L"copy viewer 1000x10 [x0.25]");
    wheel(70, WHEEL_DELTA);
    EXPECT_EQ(windowText(view), L"copy viewer 1000x10 [x15.75]");

    // Hand-dragging scrolls by the movement; a press at (0, 0) starts nothing.
    struct Drag {
        int x, y, toX, expectedPos;
    } drags[] = {{0, 0, 60, 0}, {40, 5, 10, 30}, {10, 5, 30, 10}};
    for (const Drag& d : drags) {
        const int toX = d.toX;
        SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(d.x, d.y));
        SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, d.y));
        SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(toX, d.y));
        EXPECT_EQ(bar(SB_HORZ).nPos, d.expectedPos) << d.x;
    }

    // A second open only brings the viewer forward and refreshes it.
    sessionDocument().copyBuffer.create(2, 3);
    ui.command(ID_OPTION_COPY_VIEWER);
    EXPECT_EQ(viewer(), view);
    EXPECT_EQ(GetActiveWindow(), view);
    EXPECT_EQ(windowText(view), L"copy viewer 2x3 [x15.75]");

    // Clearing asks first; No keeps the buffer.
    for (int answer : {IDNO, IDYES}) {
        DialogAnswerer answerer(answer);
        ui.command(ID_OPTION_CLEAR_COPY);
        EXPECT_EQ(answerer.text(), L"コピーデータをクリアしますか？");
        EXPECT_EQ(answerer.caption(), L"確認");
        EXPECT_EQ(sessionDocument().copyBuffer.isValid(), answer == IDNO);
    }
    EXPECT_EQ(windowText(view), L"copy viewer");
    EXPECT_EQ(ui.statusText(4), L"--");

    SendMessageW(view, WM_CLOSE, 0, 0);
    EXPECT_EQ(viewer(), nullptr);
    EXPECT_FALSE(IsWindow(view));
}

namespace {

Bytes pngOf(const DIB& image) {
    MemorySink png;
    EXPECT_TRUE(encodePng32(image, png));
    return png.bytes();
}

// A CF_DIBV5 block as image programs write it: bitfields with an alpha mask,
// rows top-down when the height is negative.
Bytes dibV5Of(int32_t w, int32_t h) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = w;
    header.bV5Height = h;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    const Bytes pixels = dibBlock(w, h);  // the same rows after a 40-byte header
    Bytes block(reinterpret_cast<const uint8_t*>(&header),
                reinterpret_cast<const uint8_t*>(&header + 1));
    block.insert(block.end(), pixels.begin() + 40, pixels.end());
    return block;
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(UiClipboardInterop, GradedAlphaArrivesExactlyFromEveryFormatOtherProgramsUse) {
    DIB image(16, 16);
    testimage::fillTagged(image);
    const Bytes png = pngOf(image);
    Bytes badCrc = png;
    badCrc[29] ^= 1;  // the header chunk's checksum
    const Bytes cut(png.begin(), png.begin() + 40);
    Bytes hugePng(png.begin(), png.begin() + 33);
    hugePng[16] = hugePng[20] = 0x70;  // 30000-odd pixels a side in 100 bytes
    hugePng.resize(100);
    const std::wstring kPng = L"PNG", kDibV5 = L"17";
    struct Case {
        const char* what;
        std::vector<std::pair<std::wstring, Bytes>> blocks;
        bool taken;
    } cases[] = {
        {"PNG alone", {{kPng, png}}, true},
        {"CF_DIBV5 bottom-up", {{kDibV5, dibV5Of(16, 16)}}, true},
        {"CF_DIBV5 top-down", {{kDibV5, dibV5Of(16, -16)}}, true},
        {"CF_DIBV5 beside an opaque bitmap",
         {{kDibV5, dibV5Of(16, 16)}, {L"bitmap", dibBlock(16, 16)}},
         true},
        {"bad checksum, then CF_DIB", {{kPng, badCrc}, {L"8", dibBlock(16, 16)}}, true},
        {"cut PNG, then CF_DIBV5", {{kPng, cut}, {kDibV5, dibV5Of(16, 16)}}, true},
        {"cut PNG alone", {{kPng, cut}}, false},
        {"PNG of an absurd size", {{kPng, hugePng}}, false},
        {"CF_DIBV5 of an absurd size",
         {{kDibV5, withHeader(dibV5Of(16, 16), 4, 0x7FFFFFFF)}},
         false},
    };
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        putImage(ui, folder, dibBlock(3, 2));
        putFromOtherProgram(ui, folder, c.blocks);
        if (c.taken)
            EXPECT_TRUE(copyBufferIsTagged(16, 16));
        else
            EXPECT_TRUE(copyBufferIsTagged(3, 2));
    }
}

TEST(UiClipboardInterop, OpaqueScreenshotsArriveOpaqueAndOurTransparentCopiesStayTransparent) {
    TempFolder folder;
    UiSession ui(folder.path());
    ASSERT_TRUE(ui.started());
    Bytes screenshot = dibBlock(4, 3);
    for (size_t i = 40 + 3; i < screenshot.size(); i += 4) screenshot[i] = 0;
    putImage(ui, folder, screenshot);
    EXPECT_TRUE(testimage::pixelsAre(sessionDocument().copyBuffer,
                                     [](int32_t x, int32_t y) { return tag(x, y) | 0xFF000000u; }));

    // The new canvas is the background colour at alpha 0 throughout.
    Selection& sel = sessionDocument().selection;
    sel.gw = sel.gh = 1;
    sel.x1 = sel.y1 = 0, sel.x2 = 7, sel.y2 = 5;
    updateSelection(sel);
    const int updates = ui.clipboardUpdates();
    ui.pressKey('C', true);
    ASSERT_TRUE(ui.pumpUntil([&] { return ui.clipboardUpdates() > updates; }));
    ui.pump();
    EXPECT_TRUE(testimage::pixelsAre(sessionDocument().copyBuffer,
                                     [](int32_t, int32_t) { return 0x00FF00FFu; }));
}

TEST(UiClipboardInterop, OtherProgramsReadOurCopyWithAlphaAlsoAfterWeClose) {
    TempFolder folder;
    const auto png = folder.path() / L"read.png", v5 = folder.path() / L"read.dibv5";
    const std::wstring read = L"read PNG \"" + png.wstring() + L"\" 17 \"" + v5.wstring() + L"\"";
    // The rows of the selection (2, 3)-(9, 6) bottom-up, as CF_DIBV5 holds them.
    Bytes rows;
    for (int32_t y = 6; y >= 3; --y)
        for (int32_t x = 2; x <= 9; ++x) {
            const uint32_t p = tag(x, y);
            rows.insert(rows.end(), reinterpret_cast<const uint8_t*>(&p),
                        reinterpret_cast<const uint8_t*>(&p) + 4);
        }
    auto check = [&] {
        DIB fromPng;
        const Bytes pngBytes = readFile(png);
        ASSERT_EQ(decodePngBytes(pngBytes.data(), pngBytes.size(), fromPng), kPngTransparentSource);
        EXPECT_TRUE(
            testimage::pixelsAre(fromPng, [](int32_t x, int32_t y) { return tag(x + 2, y + 3); }));
        const Bytes block = readFile(v5);
        ASSERT_EQ(block.size(), sizeof(BITMAPV5HEADER) + rows.size());
        BITMAPV5HEADER header;
        std::memcpy(&header, block.data(), sizeof header);
        EXPECT_EQ(header.bV5AlphaMask, 0xFF000000u);
        EXPECT_EQ(header.bV5Compression, static_cast<DWORD>(BI_BITFIELDS));
        EXPECT_EQ(header.bV5Height, 4);
        EXPECT_EQ(Bytes(block.begin() + sizeof header, block.end()), rows);
    };
    {
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        testimage::fillTagged(sessionDocument().canvas);
        Selection& sel = sessionDocument().selection;
        sel.gw = sel.gh = 1;
        sel.x1 = 2, sel.y1 = 3, sel.x2 = 9, sel.y2 = 6;
        updateSelection(sel);
        ui.pressKey('C', true);
        ui.pumpFor(100);
        // The other program asks while we run: we answer from our message loop.
        std::atomic<bool> done{false};
        DWORD code = 0;
        std::thread reader([&] {
            code = runPeer(read);
            done = true;
        });
        while (!done) ui.pumpFor(20);
        reader.join();
        ASSERT_EQ(code, 0u);
        check();
        ASSERT_TRUE(ui.close());
    }
    std::filesystem::remove(png);
    std::filesystem::remove(v5);
    ASSERT_EQ(runPeer(read), 0u);  // rendered before we ended
    check();
}
