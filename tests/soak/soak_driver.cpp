// The soak test: starts the real plimsett.exe in a folder of its own and, for
// a given time, drives it as users and other programs do — commands from the
// menus and keys, mouse drags, wheel turns and right clicks, images and
// damaged blocks on the clipboard, copied and dropped files (good, damaged,
// and a small PNG that declares 30000 x 30000). After every step the program
// must be alive and answer. The run is cut into rounds; each round ends by
// undoing everything, which must give back the round's first canvas exactly,
// and by closing the program, which must end with code 0 and leave a
// config.ini that reads back.
//
//   soak_driver <plimsett.exe> <seconds> [seed] [-v]   (-v shows every step)
#include <windows.h>

#include <psapi.h>
#include <shlobj.h>
#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "image/bmp_writer.h"
#include "image/clipboard_block.h"
#include "image/png_codec.h"
#include "image/scoped_handles.h"
#include "resources/resource.h"

namespace fs = std::filesystem;

namespace {

constexpr DWORD kAnswerMs = 10000;
// A round ends after this many steps or when the program holds this much
// memory: its undo history keeps every change, and the final undo walks it.
constexpr int kRoundSteps = 1500;
constexpr SIZE_T kRoundMemory = SIZE_T{1} << 30;
// The undo count the driver writes; the configuration dialog offers no more.
constexpr int kUndoLimit = 16384;

using Rng = std::mt19937_64;

int pick(Rng& rng, int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng); }
bool chance(Rng& rng, int percent) { return pick(rng, 100) < percent; }

// Every command of the menus and keys but exit and a new instance; undo and
// redo twice, as users use them most.
const std::vector<WORD> kCommands = {
    40002, 40004, 40005, 40006, 40007, 40010, 40011, 40012, 40100, 40100, 40101, 40101,
    40102, 40103, 40104, 40105, 40106, 40107, 40108, 40109, 40110, 40111, 40120, 40121,
    40122, 40123, 40124, 40125, 40126, 40127, 40130, 40131, 40132, 40133, 40134, 40140,
    40141, 40142, 40143, 40150, 40151, 40200, 40201, 40202, 40203, 40204, 40300, 40301,
    40302, 40304, 40306, 40308, 40309, 40310, 40311, 40320, 40321, 40322, 40323, 40350,
    40351, 40360, 40361, 40362, 40363, 40364, 40365, 40366, 40367, 40368, 40369, 40400,
    40401, 40402, 40403, 40410, 40411, 40420, 40421, 40500};

// Keys that act without Ctrl: accelerators and the main window's own keys.
const std::vector<UINT> kKeys = {VK_LEFT,  VK_RIGHT, VK_UP, VK_DOWN,  VK_DELETE, 'T',
                                 VK_PRIOR, VK_NEXT,  0xDC,  VK_SPACE, VK_ESCAPE, VK_F5};

// An image whose pixels and alpha vary everywhere.
void makePattern(DIB& image, int32_t w, int32_t h, uint32_t salt) {
    image.create(w, h);
    for (int32_t y = 0; y < h; ++y) {
        uint32_t* row = image.row(y);
        for (int32_t x = 0; x < w; ++x)
            row[x] = (static_cast<uint32_t>(x * 53 + y * 97) * 2654435761u) ^ salt;
    }
}

std::vector<uint8_t> pngOf(const DIB& image) {
    MemorySink sink;
    encodePng32(image, sink);
    return sink.bytes();
}

std::vector<uint8_t> patternPng(int32_t w, int32_t h, uint32_t salt) {
    DIB image;
    makePattern(image, w, h, salt);
    return pngOf(image);
}

// A valid PNG whose header declares 30000 x 30000 over the pixels of 1 x 1.
std::vector<uint8_t> hugeDeclaredPng() {
    std::vector<uint8_t> png = patternPng(1, 1, 0);
    const auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) png[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
    };
    put32(16, 30000);  // IHDR width and height follow the signature and chunk head
    put32(20, 30000);
    put32(29, static_cast<uint32_t>(crc32(0, png.data() + 12, 17)));
    return png;
}

void writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> damaged(std::vector<uint8_t> bytes, Rng& rng);

// The files the steps copy and drop: good ones, damaged ones, one that
// declares a huge size, and names with a known image extension over bytes
// that are no image.
std::vector<fs::path> writeSampleFiles(const fs::path& folder, Rng& rng) {
    DIB bmpImage;
    makePattern(bmpImage, 20, 16, 7);
    MemorySink bmp;
    encodeBmp(bmpImage, 32, bmp);
    std::vector<uint8_t> noise(300);
    for (uint8_t& b : noise) b = static_cast<uint8_t>(pick(rng, 256));
    const std::vector<uint8_t> good = patternPng(24, 18, 3);
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> files = {
        {"good.png", good},
        {"good.bmp", bmp.bytes()},
        {"cut.png", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)},
        {"damaged.png", damaged(good, rng)},
        {"damaged.bmp", damaged(bmp.bytes(), rng)},
        {"noise.jpg", noise},
        {"noise.gif", noise},
        {"huge.png", hugeDeclaredPng()},
    };
    std::vector<fs::path> paths;
    for (const auto& [name, bytes] : files) {
        paths.push_back(folder / name);
        writeFile(paths.back(), bytes);
    }
    return paths;
}

// A copy of `bytes` with a few header fields or bytes made wrong, or cut short.
std::vector<uint8_t> damaged(std::vector<uint8_t> bytes, Rng& rng) {
    const auto put32 = [&](size_t at, uint32_t v) {
        if (at + 4 <= bytes.size()) std::memcpy(bytes.data() + at, &v, 4);
    };
    static const uint32_t kLies[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 100000, 65536, 3};
    switch (pick(rng, 4)) {
    case 0: bytes.resize(pick(rng, static_cast<int>(bytes.size()))); break;
    case 1:  // a header field of a DIB block lies (size, width, height, bits, compression, ...)
        put32(4 * pick(rng, 10), kLies[pick(rng, 8)]);
        break;
    case 2:  // a DIB block's bit count and compression
        if (bytes.size() > 20) {
            static const uint8_t kBits[] = {0, 1, 4, 8, 16, 24, 32, 48, 64};
            bytes[14] = kBits[pick(rng, 9)];
            put32(16, static_cast<uint32_t>(pick(rng, 8)));
        }
        break;
    default:
        for (int i = 0; i < 8 && !bytes.empty(); ++i)
            bytes[pick(rng, static_cast<int>(bytes.size()))] = static_cast<uint8_t>(pick(rng, 256));
    }
    return bytes;
}

// ---------------------------------------------------------------------------
// The program under test

struct Program {
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
    std::set<HWND> toolWindows;  // the modeless ones, seen while the main window was enabled

    bool alive() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }
    bool answers() const {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result) != 0;
    }
    // A command sent and carried out before the call returns.
    bool command(WORD id) const {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(main, WM_COMMAND, id, 0, SMTO_NORMAL, kAnswerMs, &result) != 0;
    }
    SIZE_T memory() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        return GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)
                   ? counters.PagefileUsage
                   : 0;
    }
    void end() {
        if (alive()) TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, kAnswerMs);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        process = {};
    }
};

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring windowText(HWND window) {
    wchar_t text[600] = {};
    GetWindowTextW(window, text, 600);
    return text;
}

// The visible top-level windows of the program's process.
std::vector<HWND> programWindows(const Program& program) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{program.process.dwProcessId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == s->pid && IsWindowVisible(window)) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findMainWindow(const Program& program) {
    for (HWND window : programWindows(program))
        if (className(window) == kMainWindowClass) return window;
    return nullptr;
}

bool waitFor(const std::function<bool()>& done, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 20) {
        if (done()) return true;
        Sleep(20);
    }
    return done();
}

// A dialog that waits for an answer: a message box, a file or colour dialog
// or one of the program's modal dialogs. The modeless tool windows are left
// open.
HWND findModal(Program& program) {
    const bool mainEnabled = IsWindowEnabled(program.main);
    for (HWND window : programWindows(program)) {
        if (className(window) != L"#32770" || !IsWindowEnabled(window)) continue;
        HWND owner = GetWindow(window, GW_OWNER);
        if (owner == program.main && mainEnabled) program.toolWindows.insert(window);
        if (program.toolWindows.count(window)) continue;
        if (owner == nullptr || !IsWindowEnabled(owner)) return window;
    }
    return nullptr;
}

HWND findMenu(const Program& program) {
    for (HWND window : programWindows(program))
        if (className(window) == L"#32768") return window;
    return nullptr;
}

// One press, as a user makes it: the next one waits until the dialog has
// gone or is disabled by the box it opened (a press posted to a disabled
// dialog would reach it all the same, which no user can do).
void pressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    waitFor([&] { return !IsWindowVisible(dialog) || !IsWindowEnabled(dialog); }, 2000);
}

// A random button of the dialog; never Yes to clearing the undo history,
// which would cut the way back to the first canvas.
void answerModal(HWND dialog, Rng& rng) {
    std::vector<int> buttons;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
        if (GetDlgItem(dialog, id) != nullptr) buttons.push_back(id);
    const bool clearsUndo =
        windowText(GetDlgItem(dialog, 0xFFFF)) == L"アンドゥバッファをクリアしますか？";
    if (clearsUndo) buttons = {IDNO};
    if (buttons.empty()) {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        return;
    }
    pressButton(dialog, buttons[pick(rng, static_cast<int>(buttons.size()))]);
}

// A popup menu: Escape, or a few steps down and Enter.
void answerMenu(const Program& program, HWND menu, Rng& rng) {
    const auto key = [&](UINT vk) {
        PostMessageW(program.main, WM_KEYDOWN, vk, 1);
        PostMessageW(program.main, WM_KEYUP, vk, 0xC0000001);
    };
    if (chance(rng, 30)) {
        key(VK_ESCAPE);
    } else {
        for (int i = pick(rng, 6) + 1; i > 0; --i) key(VK_DOWN);
        key(VK_RETURN);
    }
    waitFor([&] { return !IsWindowVisible(menu); }, 2000);
}

// ---------------------------------------------------------------------------
// The run: steps, checks and failures

// The keys the driver writes and the program has no command to change.
const std::vector<std::array<const wchar_t*, 2>> kFixedKeys = {
    {L"window", L"newImageSize"}, {L"colors", L"back"},          {L"option", L"checkFileCopy"},
    {L"option", L"autoResize"},   {L"option", L"copyOutOfRect"}, {L"option", L"D&DActionType"},
    {L"option", L"ZoomType"},     {L"option", L"Undo"},          {L"trans", L"boxSize"},
    {L"trans", L"color1"},        {L"trans", L"color2"}};

struct Soak {
    Rng rng;
    fs::path exe;
    fs::path folder;
    std::vector<fs::path> files;
    Program program;
    DIB startImage;
    int steps = 0;
    int failures = 0;
    std::deque<std::string> recent;         // the last steps, shown with a failure
    bool verbose = false;                   // every step shown as it is made
    std::vector<std::wstring> fixedValues;  // as written, of kFixedKeys
    int roundActions = 0;  // steps and repeated keys: the most undo entries the round made

    void note(const std::string& step) {
        if (verbose) std::printf("%6d %s\n", steps, step.c_str());
        recent.push_back(step);
        if (recent.size() > 25) recent.pop_front();
    }
    bool fail(const std::string& what) {
        ++failures;
        std::printf("soak: FAILURE after step %d: %s\n  last steps:\n", steps, what.c_str());
        for (const std::string& step : recent) std::printf("    %s\n", step.c_str());
        std::fflush(stdout);
        return false;
    }

    // Answers dialogs and menus until none is left; false when the program
    // ended or stopped answering.
    bool settle() {
        int quiet = 0;
        for (int round = 0; round < 200 && quiet < 2; ++round) {
            if (!program.alive()) return fail("the program ended");
            // A sent check overtakes posted input: the second one comes back
            // only once the program has taken what was posted before it.
            Sleep(5);
            if (!program.answers()) return fail("the program does not answer");
            if (HWND modal = findModal(program)) {
                note("  answer \"" + narrow(windowText(modal)) + "\"");
                answerModal(modal, rng);
                quiet = 0;
            } else if (HWND menu = findMenu(program)) {
                note("  answer a popup menu");
                answerMenu(program, menu, rng);
                quiet = 0;
            } else {
                ++quiet;
            }
        }
        return quiet == 2 || fail("dialogs keep coming");
    }

    // The program's windows, to tell what it waits for.
    std::string windowList() {
        std::string list;
        for (HWND window : programWindows(program))
            list += " \"" + narrow(className(window)) + "\" \"" + narrow(windowText(window)) +
                    (IsWindowEnabled(window) ? "\"" : "\" (disabled)");
        return list;
    }

    static std::string narrow(const std::wstring& text) {
        std::string out(
            WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()),
                            nullptr, nullptr);
        out.pop_back();
        return out;
    }

    void writeConfig(const fs::path& ini);
    bool start();
    bool checkConfig(const fs::path& ini);
    bool readCanvas(DIB& canvas);
    bool finishRound(const DIB& first);
    void step();
    void run(int seconds);

    // Steps
    void commandStep();
    void keyStep();
    void dragStep(UINT down, UINT up, WPARAM buttons);
    void wheelStep();
    void rightClickStep();
    void clipboardImageStep();
    void clipboardFilesStep();
    void dropStep();
    POINT randomPoint();
    LPARAM clientLParam(POINT screen) const;
    std::vector<fs::path> someFiles();
};

void Soak::writeConfig(const fs::path& ini) {
    fixedValues = {L"48,32",
                   L"ff00ff",
                   L"1",
                   chance(rng, 70) ? L"1" : L"0",
                   L"0",  // the final copy of the whole canvas stays inside it
                   std::to_wstring(pick(rng, 4)),
                   std::to_wstring(pick(rng, 4)),
                   std::to_wstring(kUndoLimit),
                   L"4",
                   L"ffffff",
                   L"b0b0b0"};
    fs::remove(ini);
    for (size_t i = 0; i < kFixedKeys.size(); ++i)
        WritePrivateProfileStringW(kFixedKeys[i][0], kFixedKeys[i][1], fixedValues[i].c_str(),
                                   ini.c_str());
    WritePrivateProfileStringW(L"grid", L"size", L"8,8", ini.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());  // flush
}

// Every line is a section, a key=value line or blank, and every fixed key
// reads back as written.
bool Soak::checkConfig(const fs::path& ini) {
    std::ifstream in(ini);
    if (!in) return fail("config.ini is missing");
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        const bool section = !line.empty() && line.front() == '[' && line.back() == ']';
        if (!line.empty() && !section && line.find('=') == std::string::npos)
            return fail("config.ini holds the line \"" + line + "\"");
    }
    for (size_t i = 0; i < kFixedKeys.size(); ++i) {
        wchar_t value[64] = {};
        GetPrivateProfileStringW(kFixedKeys[i][0], kFixedKeys[i][1], L"(missing)", value, 64,
                                 ini.c_str());
        if (fixedValues[i] != value)
            return fail("config.ini: " + narrow(kFixedKeys[i][1]) + " reads back as " +
                        narrow(value) + ", written " + narrow(fixedValues[i]));
    }
    return true;
}

// Starts the program on the round's first canvas (a file named on the command
// line) with an empty undo history.
bool Soak::start() {
    const fs::path programExe = folder / "plimsett.exe";
    fs::copy_file(exe, programExe, fs::copy_options::overwrite_existing);
    writeConfig(folder / "config.ini");
    makePattern(startImage, 40, 30, static_cast<uint32_t>(rng()));
    writeFile(folder / "start.png", pngOf(startImage));
    std::wstring commandLine = L"\"" + programExe.wstring() + L"\" start.png";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    program = {};
    if (!CreateProcessW(programExe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &program.process))
        return fail("the program does not start");
    if (!waitFor([&] { return (program.main = findMainWindow(program)) != nullptr; }, 30000))
        return fail("no main window");
    if (!waitFor(
            [&] { return windowText(program.main).find(L"[start.png]") != std::wstring::npos; },
            kAnswerMs))
        return fail("start.png was not opened");
    PostMessageW(program.main, WM_COMMAND, ID_OPTION_CLEAR_UNDO, 0);
    HWND question = nullptr;
    if (!waitFor([&] { return (question = findModal(program)) != nullptr; }, kAnswerMs))
        return fail("no question before clearing the undo history");
    pressButton(question, IDYES);
    return settle();
}

// The whole canvas, copied by the program and read from the clipboard.
bool Soak::readCanvas(DIB& canvas) {
    if (!program.command(ID_EDIT_SELECT_ALL) || !program.command(ID_EDIT_COPY)) return false;
    ScopedClipboard clipboard(nullptr);
    if (!clipboard.isOpen()) return false;
    ScopedGlobalLock lock(GetClipboardData(CF_DIB));
    return lock.data() != nullptr && readClipboardDib(static_cast<const uint8_t*>(lock.data()),
                                                      lock.size(), canvas) == DibBlockRead::Taken;
}

bool sameImage(const DIB& a, const DIB& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::memcmp(a.pixels, b.pixels, static_cast<size_t>(a.width()) * a.height() * 4) == 0;
}

// Undoes everything, compares with the first canvas, closes the program
// (answering "No" to saving) and checks its exit code and config.ini.
bool Soak::finishRound(const DIB& first) {
    note("finish the round: undo everything");
    if (!settle()) return false;
    for (int i = 0; i < roundActions; ++i)
        if (!program.command(ID_EDIT_UNDO)) return fail("no answer to undo");
    DIB canvas;
    if (!readCanvas(canvas)) return fail("the canvas could not be read after undoing everything");
    if (!sameImage(canvas, first))
        fail("undoing everything gave " + std::to_string(canvas.width()) + " x " +
             std::to_string(canvas.height()) + ", not the first canvas " +
             std::to_string(first.width()) + " x " + std::to_string(first.height()) + " exactly");
    if (!settle()) return false;
    PostMessageW(program.main, WM_CLOSE, 0, 0);
    waitFor(
        [&] {
            if (HWND box = findModal(program))
                pressButton(box, GetDlgItem(box, IDNO) ? IDNO : IDCANCEL);
            return !program.alive();
        },
        kAnswerMs);
    DWORD code = 0;
    if (program.alive()) return fail("the program did not close; its windows:" + windowList());
    GetExitCodeProcess(program.process.hProcess, &code);
    if (code != 0) fail("the program ended with code " + std::to_string(code));
    return checkConfig(folder / "config.ini");
}

// ---------------------------------------------------------------------------
// Steps

void Soak::step() {
    const int kind = pick(rng, 100);
    if (kind < 40) return commandStep();
    if (kind < 52) return keyStep();
    if (kind < 67) return dragStep(WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
    if (kind < 71) return dragStep(WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON);
    if (kind < 77) return wheelStep();
    if (kind < 81) return rightClickStep();
    if (kind < 89) return clipboardImageStep();
    if (kind < 95) return clipboardFilesStep();
    dropStep();
}

void Soak::commandStep() {
    const WORD id = kCommands[pick(rng, static_cast<int>(kCommands.size()))];
    note("command " + std::to_string(id));
    PostMessageW(program.main, WM_COMMAND, id, 0);
}

// Through the program's own loop, so the accelerators see the key.
void Soak::keyStep() {
    const UINT key = kKeys[pick(rng, static_cast<int>(kKeys.size()))];
    const int repeats = chance(rng, 20) ? pick(rng, 5) + 2 : 1;
    note("key " + std::to_string(key) + " x" + std::to_string(repeats));
    roundActions += repeats - 1;
    for (int i = 0; i < repeats; ++i)
        PostMessageW(program.main, WM_KEYDOWN, key, i ? 0x40000001 : 1);
    if (key == VK_SPACE) {  // pans while held
        program.answers();
        Sleep(10);
        program.answers();
        POINT p = randomPoint();
        SetCursorPos(p.x, p.y);
        PostMessageW(program.main, WM_MOUSEMOVE, 0, clientLParam(p));
    }
    PostMessageW(program.main, WM_KEYUP, key, 0xC0000001);
}

// A random point of the main window's client area, in screen coordinates.
POINT Soak::randomPoint() {
    RECT client{};
    GetClientRect(program.main, &client);
    POINT p{pick(rng, std::max<int>(1, client.right)), pick(rng, std::max<int>(1, client.bottom))};
    ClientToScreen(program.main, &p);
    return p;
}

LPARAM Soak::clientLParam(POINT screen) const {
    ScreenToClient(program.main, &screen);
    return MAKELPARAM(screen.x, screen.y);
}

// The program reads the live cursor position: each message is sent, and so
// handled, while the cursor stands where the message says.
void Soak::dragStep(UINT down, UINT up, WPARAM buttons) {
    const bool shift = chance(rng, 20);
    const bool doubleClick = down == WM_LBUTTONDOWN && chance(rng, 10);
    const int moves = pick(rng, 6);
    note(std::string(down == WM_LBUTTONDOWN ? "left" : "middle") + " drag, " +
         std::to_string(moves) + " moves" + (shift ? ", shift" : "") +
         (doubleClick ? ", double click" : ""));
    const WPARAM keys = buttons | (shift ? MK_SHIFT : 0);
    const auto send = [&](UINT message, WPARAM wParam, POINT p) {
        SetCursorPos(p.x, p.y);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(program.main, message, wParam, clientLParam(p), SMTO_NORMAL, kAnswerMs,
                            &result);
    };
    POINT p = randomPoint();
    send(WM_MOUSEMOVE, 0, p);
    send(down, keys, p);
    if (doubleClick) {
        send(up, keys & ~buttons, p);
        send(WM_LBUTTONDBLCLK, keys, p);
    }
    for (int i = 0; i < moves; ++i) send(WM_MOUSEMOVE, keys, p = randomPoint());
    send(up, keys & ~buttons, p);
}

void Soak::wheelStep() {
    const int delta = (pick(rng, 7) - 3) * WHEEL_DELTA;
    note("wheel " + std::to_string(delta));
    POINT p = randomPoint();
    SetCursorPos(p.x, p.y);
    PostMessageW(program.main, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(p.x, p.y));
}

// The popup menu of the canvas; the answer picks one of its items.
void Soak::rightClickStep() {
    note("right click");
    POINT p = randomPoint();
    SetCursorPos(p.x, p.y);
    PostMessageW(program.main, WM_RBUTTONDOWN, MK_RBUTTON, clientLParam(p));
    PostMessageW(program.main, WM_RBUTTONUP, 0, clientLParam(p));
}

// One block of `format` handed to the clipboard, which owns it from then on.
void putOnClipboard(UINT format, const std::vector<uint8_t>& bytes) {
    ScopedGlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, std::max<size_t>(bytes.size(), 1)));
    if (block.get() == nullptr) return;
    {
        ScopedGlobalLock lock(block.get());
        if (lock.data() == nullptr) return;
        if (!bytes.empty()) std::memcpy(lock.data(), bytes.data(), bytes.size());
    }
    if (SetClipboardData(format, block.get()) != nullptr) block.release();
}

std::vector<uint8_t> dibBlock(const DIB& image) {
    std::vector<uint8_t> block(clipboardImageBlockSize(image.width(), image.height()));
    writeClipboardImageBlock(block.data(), block.size(), image, 0, 0, image.width(), image.height(),
                             0);
    return block;
}

std::vector<uint8_t> dibV5Block(const DIB& image) {
    std::vector<uint8_t> block(dibV5BlockSize(image.width(), image.height()));
    writeDibV5Block(block.data(), block.size(), image);
    return block;
}

// Another program's image: CF_DIB, CF_DIBV5 or "PNG", alone or together,
// some of them damaged.
void Soak::clipboardImageStep() {
    DIB image;
    makePattern(image, pick(rng, 64) + 1, pick(rng, 64) + 1, static_cast<uint32_t>(rng()));
    const UINT png = RegisterClipboardFormatW(L"PNG");
    std::vector<std::pair<UINT, std::vector<uint8_t>>> blocks;
    if (chance(rng, 60)) blocks.emplace_back(CF_DIB, dibBlock(image));
    if (chance(rng, 30)) blocks.emplace_back(CF_DIBV5, dibV5Block(image));
    if (chance(rng, 30))
        blocks.emplace_back(png, chance(rng, 10) ? hugeDeclaredPng() : pngOf(image));
    std::string what = "clipboard image " + std::to_string(image.width()) + " x " +
                       std::to_string(image.height()) + ":";
    ScopedClipboard clipboard(nullptr);
    if (!clipboard.isOpen()) return note(what + " clipboard busy");
    EmptyClipboard();
    for (auto& [format, bytes] : blocks) {
        const bool damage = chance(rng, 35);
        if (damage) bytes = damaged(std::move(bytes), rng);
        what += " " + std::to_string(format) + (damage ? " (damaged)" : "");
        putOnClipboard(format, bytes);
    }
    note(what);
}

// A DROPFILES block of wide names, as file managers make it.
std::vector<uint8_t> fileListBlock(const std::vector<fs::path>& paths) {
    std::vector<uint8_t> block(sizeof(DROPFILES));
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    for (const fs::path& path : paths) {
        const std::wstring name = path.wstring();
        const auto* bytes = reinterpret_cast<const uint8_t*>(name.c_str());
        block.insert(block.end(), bytes, bytes + (name.size() + 1) * sizeof(wchar_t));
    }
    block.resize(block.size() + sizeof(wchar_t));
    return block;
}

std::vector<fs::path> Soak::someFiles() {
    std::vector<fs::path> paths;
    const int count = chance(rng, 85) ? 1 : pick(rng, 3) + 2;
    for (int i = 0; i < count; ++i)
        paths.push_back(files[pick(rng, static_cast<int>(files.size()))]);
    return paths;
}

std::string namesOf(const std::vector<fs::path>& paths) {
    std::string names;
    for (const fs::path& path : paths) names += " " + path.filename().string();
    return names;
}

// Files on the clipboard as a file manager puts them; an effect of 0 leaves
// out the "Preferred DropEffect" block.
bool putFiles(const std::vector<fs::path>& paths, DWORD effect) {
    ScopedClipboard clipboard(nullptr);
    if (!clipboard.isOpen()) return false;
    EmptyClipboard();
    putOnClipboard(CF_HDROP, fileListBlock(paths));
    std::vector<uint8_t> value(sizeof effect);
    std::memcpy(value.data(), &effect, sizeof effect);
    if (effect != 0) putOnClipboard(RegisterClipboardFormatW(L"Preferred DropEffect"), value);
    return true;
}

// Files copied (or cut) in a file manager.
void Soak::clipboardFilesStep() {
    const std::vector<fs::path> paths = someFiles();
    const DWORD effect =
        pick(rng, 10) == 0 ? 0 : (chance(rng, 80) ? DROPEFFECT_COPY : DROPEFFECT_MOVE);
    note("clipboard files, effect " + std::to_string(effect) + ":" + namesOf(paths));
    if (!putFiles(paths, effect)) note("  clipboard busy");
}

// A dropped file. A drop block posted from another process means nothing in
// the program (its handle is ours), so the file comes the way a copied file
// does, into the drop path, and then one of the drop menu's commands acts on it.
void Soak::dropStep() {
    const fs::path path = files[pick(rng, static_cast<int>(files.size()))];
    const WORD action = static_cast<WORD>(ID_DROP_COPY + pick(rng, 4));
    note("drop " + path.filename().string() + ", command " + std::to_string(action));
    if (!putFiles({path}, DROPEFFECT_COPY)) return note("  clipboard busy");
    if (settle()) PostMessageW(program.main, WM_COMMAND, action, 0);
}

void Soak::run(int seconds) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    while (GetTickCount64() < end) {
        if (!start()) {  // a program that cannot start will not start next time either
            program.end();
            break;
        }
        // The first canvas is start.png, as the program loaded and copied it.
        DIB first;
        bool healthy = readCanvas(first)
                           ? sameImage(first, startImage) || fail("start.png did not load exactly")
                           : fail("the first canvas could not be read");
        int roundSteps = 0;
        roundActions = 0;
        while (healthy && GetTickCount64() < end && roundSteps < kRoundSteps &&
               program.memory() < kRoundMemory) {
            step();
            ++steps;
            ++roundSteps;
            ++roundActions;
            healthy = settle();
        }
        if (verbose) std::printf("round of %d steps, %zu MB\n", roundSteps, program.memory() >> 20);
        if (healthy) finishRound(first);
        program.end();
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::printf("usage: soak_driver <plimsett.exe> <seconds> [seed] [-v]\n");
        return 2;
    }
    const int seconds = _wtoi(argv[2]);
    const uint64_t seed = argc > 3 ? _wcstoui64(argv[3], nullptr, 10) : GetTickCount64();
    std::printf("soak: seed %llu (soak_driver <exe> %d %llu replays it)\n",
                static_cast<unsigned long long>(seed), seconds,
                static_cast<unsigned long long>(seed));
    std::fflush(stdout);
    Soak soak;
    soak.rng.seed(seed);
    soak.verbose = argc > 4 && std::wstring(argv[4]) == L"-v";
    soak.exe = fs::absolute(argv[1]);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    soak.folder = fs::path(temp) / ("plimsett-soak-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(soak.folder);
    soak.files = writeSampleFiles(soak.folder, soak.rng);
    soak.run(seconds);
    std::error_code ignored;
    fs::remove_all(soak.folder, ignored);
    std::printf("soak: seed %llu, %d s, %d steps, %d failures\n",
                static_cast<unsigned long long>(seed), seconds, soak.steps, soak.failures);
    return soak.failures == 0 ? 0 : 1;
}
