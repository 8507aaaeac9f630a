// Another program on the clipboard, as file managers, image editors and
// screenshot tools are:
//   clipboard_peer <format> <file> ...       puts each file's bytes as a block
//   clipboard_peer read <format> <file> ...  writes each block it finds to a file
//   clipboard_peer hold <event> <format> <file> ...  opens the clipboard, waits, reads
// A format is a number (CF_DIB = 8), the name of a registered format, or
// "bitmap": the file's 32-bit CF_DIB block made into a device-dependent
// bitmap (CF_BITMAP), which has no alpha.
#include <windows.h>

#include <cwctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/scoped_handles.h"

namespace {

UINT formatOf(const wchar_t* name) {
    if (std::wstring(name) == L"bitmap") return CF_BITMAP;
    return std::iswdigit(name[0]) ? std::stoul(name) : RegisterClipboardFormatW(name);
}

HANDLE bitmapOf(const std::vector<char>& dib) {
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT,
                                    dib.data() + info->bmiHeader.biSize, info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

int put(int argc, wchar_t** argv) {
    int result = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const UINT format = formatOf(argv[i]);
        std::ifstream in(argv[i + 1], std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
        HANDLE data = nullptr;
        if (format == CF_BITMAP) {
            data = bitmapOf(bytes);
        } else if ((data = GlobalAlloc(GMEM_MOVEABLE, bytes.size())) != nullptr) {
            if (void* p = GlobalLock(data)) {
                if (!bytes.empty()) memcpy(p, bytes.data(), bytes.size());
                GlobalUnlock(data);
            }
        }
        if (!data || !SetClipboardData(format, data)) result = 3;
    }
    return result;
}

int read(int argc, wchar_t** argv) {
    int result = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        HGLOBAL block = GetClipboardData(formatOf(argv[i]));
        const void* p = block ? GlobalLock(block) : nullptr;
        if (!p) {
            result = 4;
            continue;
        }
        std::ofstream(argv[i + 1], std::ios::binary)
            .write(static_cast<const char*>(p), static_cast<std::streamsize>(GlobalSize(block)));
        GlobalUnlock(block);
    }
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // The clipboard is busy while the test's listener reads it: try again.
    bool opened = false;
    for (int i = 0; i < 500 && !(opened = OpenClipboard(nullptr)); ++i) Sleep(10);
    if (!opened) return 2;
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"hold") {
        ScopedFile event(OpenEventW(SYNCHRONIZE, FALSE, argv[2]));
        WaitForSingleObject(event.get(), 10000);
        ++argv, --argc;
    }
    const bool reading = mode == L"read" || mode == L"hold";
    if (!reading) EmptyClipboard();
    const int result = reading ? read(argc, argv) : put(argc, argv);
    CloseClipboard();
    return result;
}
