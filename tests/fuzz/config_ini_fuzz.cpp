// Fuzz target of config.ini, through the code the program reads it with:
// the private-profile text and the hex struct blocks with their checksum.
// Whatever the text, reading never fails; and writing what was read, over
// the same text, is a fixed point: reading that back and writing it again
// gives the same file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/config_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Settings first;
    const std::optional<WindowPlacement> placement = loadSettingsFromIni(text, first);
    const std::string written = writeSettingsIni(first, placement, text);

    Settings second;
    const std::optional<WindowPlacement> again = loadSettingsFromIni(written, second);
    if (writeSettingsIni(second, again, written) != written) std::abort();
    return 0;
}
