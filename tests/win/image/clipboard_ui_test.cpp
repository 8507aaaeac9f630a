// The clipboard listener and dropped files in the real main window; other
// programs' clipboard data comes from a second process.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "edit/pixel_ops.h"
#include "image/png_codec.h"
#include "image/scoped_handles.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/win/app/ui_harness.h"

namespace {

using testimage::tag;

constexpr DWORD kCopy = 1, kMove = 2;  // drop effects
const std::wstring kDib = L"8", kDibV5 = L"17", kPng = L"PNG";

void appendWord(Bytes& block, uint32_t p) {
    block.insert(block.end(), reinterpret_cast<const uint8_t*>(&p),
                 reinterpret_cast<const uint8_t*>(&p) + 4);
}

// A 32-bit block as other programs make it, with a 40-byte or a V5 header
// (bitfields with an alpha mask); rows bottom-up unless the height is
// negative. Pixels are tag(x, y), graded alpha included.
Bytes dibBlock(int32_t w, int32_t h, bool v5 = false) {
    BITMAPV5HEADER header{};
    header.bV5Size = v5 ? sizeof header : sizeof(BITMAPINFOHEADER);
    header.bV5Width = w;
    header.bV5Height = h;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    if (v5) {
        header.bV5Compression = BI_BITFIELDS;
        header.bV5RedMask = 0x00FF0000;
        header.bV5GreenMask = 0x0000FF00;
        header.bV5BlueMask = 0x000000FF;
        header.bV5AlphaMask = 0xFF000000;
    }
    Bytes block(reinterpret_cast<const uint8_t*>(&header),
                reinterpret_cast<const uint8_t*>(&header) + header.bV5Size);
    for (int32_t r = 0; r < std::abs(h); ++r)
        for (int32_t x = 0; x < w; ++x) appendWord(block, tag(x, h > 0 ? h - 1 - r : r));
    return block;
}

Bytes withHeader(Bytes block, size_t offset, int32_t value) {
    std::memcpy(block.data() + offset, &value, 4);
    return block;
}

DWORD runPeer(const std::wstring& arguments) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const auto peer = std::filesystem::path(self).parent_path() / L"clipboard_peer.exe";
    std::wstring command = L"\"" + peer.wstring() + L"\" " + arguments;
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

using Blocks = std::vector<std::pair<std::wstring, Bytes>>;

// Another program puts `blocks` (format, bytes) on the clipboard and exits;
// then the main window's notification is waited for.
void putFromOtherProgram(UiSession& ui, const TempFolder& folder, const Blocks& blocks) {
    std::wstring arguments;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const auto file = folder.path() / (L"block" + std::to_wstring(i));
        writeFileBytes(file, blocks[i].second);
        arguments += L" \"" + blocks[i].first + L"\" \"" + file.wstring() + L"\"";
    }
    const int updates = ui.clipboardUpdates();
    ASSERT_EQ(runPeer(arguments), 0u);
    ASSERT_TRUE(ui.pumpUntil([&] { return ui.clipboardUpdates() > updates; }));
}

// A plain top-level window of the test in front of the main window.
struct OtherWindow {
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, nullptr, nullptr);
    OtherWindow() { SetForegroundWindow(hwnd); }
    ~OtherWindow() { DestroyWindow(hwnd); }
};

testing::AssertionResult copyBufferIsTagged(int32_t w, int32_t h) {
    const DIB& copy = sessionDocument().copyBuffer;
    if (copy.width() != w || copy.height() != h)
        return testing::AssertionFailure() << copy.width() << "x" << copy.height();
    return testimage::pixelsAre(copy, tag);
}

}  // namespace

using UiClipboard = UiTest;
using UiDrop = UiTest;
using UiClipboardInterop = UiTest;

// Another program's image is taken at once, even with the main window in the
// background.
TEST_F(UiClipboard, AnotherProgramsImageIsTakenWhileWeAreInTheBackground) {
    OtherWindow other;
    ASSERT_NE(GetForegroundWindow(), ui.hwnd());
    putFromOtherProgram(ui, folder, {{kDib, dibBlock(6, 2)}});
    EXPECT_TRUE(copyBufferIsTagged(6, 2));
}

// A program holding the clipboard while it waits for us to render our last
// copy: our next copy answers it while waiting for the clipboard, and is kept.
TEST_F(UiClipboard, ACopyMadeWhileAnotherProgramReadsOurLastOneIsKept) {
    testimage::fillTagged(sessionDocument().canvas);
    selectPixels(2, 1, 7, 5);
    ASSERT_TRUE(ui.copyByKey());
    ScopedFile go(CreateEventW(nullptr, TRUE, FALSE, L"plimsett-test-go"));
    std::atomic<DWORD> code{STILL_ACTIVE};
    std::thread reader([&] { code = runPeer(L"hold plimsett-test-go 8 NUL"); });
    ui.pumpUntil([&] { return !OpenClipboard(ui.hwnd()) || !CloseClipboard(); });  // it holds it
    selectPixels(0, 0, 5, 4);
    SetEvent(go.get());  // its request to render reaches us inside the copy
    SendMessageW(ui.hwnd(), WM_COMMAND, ID_EDIT_COPY, 0);
    ui.pumpUntil([&] { return code != STILL_ACTIVE; });
    reader.join();
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(ui.pumpUntil([] { return copyBufferIsTagged(6, 5); }));
}

TEST_F(UiClipboard, CopiedFilesFillTheCopyBufferOrGoToTheFileList) {
    const std::wstring png = writeTaggedPng(folder.path() / L"über.png", 5, 4).wstring();
    const struct {
        DWORD effect;
        int files;
        bool checkFileCopy, filled, fileList;
    } cases[] = {
        {kCopy, 1, true, true, false},
        {kMove, 1, true, false, false},
        {kCopy, 3, true, false, true},
        {kCopy, 1, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.effect << " " << c.files << " " << c.checkFileCopy);
        sessionDocument().copyBuffer.release();
        settings().checkFileCopy = c.checkFileCopy;
        ui.takeCommands();
        Bytes effect;
        appendWord(effect, c.effect);
        putFromOtherProgram(ui, folder,
                            {{L"15", fileDropBlock(std::vector<std::wstring>(c.files, png))},
                             {L"Preferred DropEffect", effect}});
        EXPECT_EQ(copyBufferIsTagged(5, 4), c.filled);
        const std::vector<WORD> commands = ui.takeCommands();
        EXPECT_EQ(std::count(commands.begin(), commands.end(), ID_OPTION_FILE_LIST), c.fileList);
    }
}

TEST_F(UiDrop, OneFileRunsTheDropActionAndSeveralGoToTheFileList) {
    const std::wstring png = writeTaggedPng(folder.path() / L"drop.png", 6, 5).wstring();
    const struct {
        int32_t action;
        int files;
        std::vector<WORD> commands;
    } cases[] = {
        {1, 1, {ID_DROP_PASTE}},
        {2, 1, {ID_DROP_OPEN}},
        {7, 1, {ID_DROP_COPY}},
        {1, 2, {ID_OPTION_FILE_LIST}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.action << " " << c.files);
        settings().ddActionType = c.action;
        sessionDocument().copyBuffer.release();
        ui.takeCommands();
        SendMessageW(ui.hwnd(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(dropOf(std::vector<std::wstring>(c.files, png))), 0);
        EXPECT_EQ(ui.takeCommands(), c.commands);
        EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(sessionDocument().dropPath)), png);
        if (c.action == 7) {  // the copy comes back through the clipboard
            EXPECT_TRUE(ui.pumpUntil([] { return sessionDocument().copyBuffer.isValid(); }));
            EXPECT_TRUE(copyBufferIsTagged(6, 5));
        }
    }
}

// Each format is read on its own path: the first usable one wins, damaged
// ones fall through to the next, and nothing usable leaves the buffer alone.
TEST_F(UiClipboardInterop, GradedAlphaArrivesExactlyFromEveryFormatOtherProgramsUse) {
    DIB image(16, 16);
    testimage::fillTagged(image);
    MemorySink encoded;
    ASSERT_TRUE(encodePng32(image, encoded));
    const Bytes& png = encoded.bytes();
    Bytes badCrc = png;
    badCrc[29] ^= 1;  // the header chunk's checksum
    const Bytes cut(png.begin(), png.begin() + 40);
    Bytes shortDib = dibBlock(16, 16);
    shortDib.pop_back();
    const struct {
        const char* what;
        Blocks blocks;
        bool taken;
    } cases[] = {
        {"PNG alone", {{kPng, png}}, true},
        {"CF_DIB top-down", {{kDib, dibBlock(16, -16)}}, true},
        {"CF_DIBV5 bottom-up", {{kDibV5, dibBlock(16, 16, true)}}, true},
        {"CF_DIBV5 top-down", {{kDibV5, dibBlock(16, -16, true)}}, true},
        {"CF_DIBV5 beside an opaque bitmap",
         {{kDibV5, dibBlock(16, 16, true)}, {L"bitmap", dibBlock(16, 16)}},
         true},
        {"bad checksum, then CF_DIB", {{kPng, badCrc}, {kDib, dibBlock(16, 16)}}, true},
        {"cut PNG, then CF_DIBV5", {{kPng, cut}, {kDibV5, dibBlock(16, 16, true)}}, true},
        {"cut PNG alone", {{kPng, cut}}, false},
        {"CF_DIB one byte short", {{kDib, shortDib}}, false},
        {"CF_DIBV5 of an absurd size",
         {{kDibV5, withHeader(dibBlock(16, 16, true), 4, 1 << 30)}},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        putFromOtherProgram(ui, folder, {{kDib, dibBlock(3, 2)}});
        putFromOtherProgram(ui, folder, c.blocks);
        EXPECT_TRUE(c.taken ? copyBufferIsTagged(16, 16) : copyBufferIsTagged(3, 2));
    }
}

TEST_F(UiClipboardInterop, OpaqueScreenshotsArriveOpaqueAndOurTransparentCopiesStayTransparent) {
    Bytes screenshot = dibBlock(4, 3);
    for (size_t i = 40 + 3; i < screenshot.size(); i += 4) screenshot[i] = 0;
    putFromOtherProgram(ui, folder, {{kDib, screenshot}});
    EXPECT_TRUE(testimage::pixelsAre(sessionDocument().copyBuffer,
                                     [](int32_t x, int32_t y) { return tag(x, y) | 0xFF000000u; }));
    selectPixels(0, 0, 7, 5);  // the new canvas: the background colour at alpha 0
    ASSERT_TRUE(ui.copyByKey());
    EXPECT_TRUE(testimage::pixelsAre(sessionDocument().copyBuffer,
                                     [](int32_t, int32_t) { return 0x00FF00FFu; }));
}

// Our copy, two columns over the left edge, goes through the real clipboard:
// the listener takes it back with its alpha, and another program reads it as
// PNG, CF_DIBV5 and CF_DIB while we run and after we closed.
TEST(UiClipboardHandover, OtherProgramsReadOurCopyWithAlphaAlsoAfterWeClose) {
    TempFolder folder;
    const auto png = folder.path() / L"read.png", v5 = folder.path() / L"read.dibv5",
               dib = folder.path() / L"read.dib";
    const std::wstring read = L"read PNG \"" + png.wstring() + L"\" 17 \"" + v5.wstring() +
                              L"\" 8 \"" + dib.wstring() + L"\"";
    const uint32_t back = pixelOf(settings().back);
    auto expected = [&](int32_t x, int32_t y) { return x < 2 ? back : tag(x - 2, y + 3); };
    Bytes rows;  // bottom-up, as the DIB blocks hold them
    for (int32_t y = 3; y >= 0; --y)
        for (int32_t x = 0; x < 10; ++x) appendWord(rows, expected(x, y));
    auto check = [&] {
        DIB fromPng;
        const Bytes pngBytes = readFileBytes(png);
        ASSERT_EQ(decodePngBytes(pngBytes.data(), pngBytes.size(), fromPng), kPngTransparentSource);
        EXPECT_TRUE(testimage::pixelsAre(fromPng, expected));
        const Bytes v5Block = readFileBytes(v5);
        ASSERT_EQ(v5Block.size(), sizeof(BITMAPV5HEADER) + rows.size());
        BITMAPV5HEADER header;
        std::memcpy(&header, v5Block.data(), sizeof header);
        EXPECT_EQ(header.bV5AlphaMask, 0xFF000000u);
        EXPECT_EQ(header.bV5Compression, static_cast<DWORD>(BI_BITFIELDS));
        EXPECT_EQ(header.bV5Height, 4);
        EXPECT_EQ(Bytes(v5Block.begin() + sizeof header, v5Block.end()), rows);
        Bytes dibBytes(40);
        const uint32_t dibHeader[] = {40, 10, 4, 1 | 32 << 16, 0, 0, 0, 0, 0, 0};
        std::memcpy(dibBytes.data(), dibHeader, 40);
        dibBytes.insert(dibBytes.end(), rows.begin(), rows.end());
        EXPECT_EQ(readFileBytes(dib), dibBytes);
    };
    {
        UiSession ui(folder.path());
        ASSERT_TRUE(ui.started());
        testimage::fillTagged(sessionDocument().canvas);
        settings().copyOutOfRect = true;
        selectPixels(-2, 3, 7, 6);
        ASSERT_TRUE(ui.copyByKey());
        EXPECT_TRUE(testimage::pixelsAre(sessionDocument().copyBuffer, expected));
        EXPECT_EQ(ui.statusText(4), L"10 x 4");
        // The other program asks while we run: we answer from our message loop.
        std::atomic<bool> done{false};
        DWORD code = 0;
        std::thread reader([&] {
            code = runPeer(read);
            done = true;
        });
        ui.pumpUntil([&] { return done.load(); }, 20000);
        reader.join();
        ASSERT_EQ(code, 0u);
        check();
        ASSERT_TRUE(ui.close());
    }
    for (const auto& file : {png, v5, dib}) std::filesystem::remove(file);
    ASSERT_EQ(runPeer(read), 0u);  // rendered before we ended
    check();
}
