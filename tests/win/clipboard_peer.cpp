// Another program that puts data on the clipboard, as file managers, image
// editors and screenshot tools do: clipboard_peer <format> <file> ...
// Each format is a number (CF_DIB = 8) or the name of a registered format;
// each file holds the bytes of its block.
#include <windows.h>

#include <cwctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (!OpenClipboard(nullptr)) return 2;
    EmptyClipboard();
    int result = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const UINT format =
            std::iswdigit(argv[i][0]) ? std::stoul(argv[i]) : RegisterClipboardFormatW(argv[i]);
        std::ifstream in(argv[i + 1], std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (void* data = block ? GlobalLock(block) : nullptr) {
            if (!bytes.empty()) memcpy(data, bytes.data(), bytes.size());
            GlobalUnlock(block);
        }
        if (!block || !SetClipboardData(format, block)) result = 3;
    }
    CloseClipboard();
    return result;
}
