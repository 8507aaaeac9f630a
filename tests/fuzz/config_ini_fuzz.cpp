// Fuzz target of config.ini, through the code the program reads it with:
// the file's encoding, the private-profile text and the hex struct blocks
// with their checksum. Whatever the bytes, reading never fails; writing what
// was read, over the same file, is a fixed point: reading that back and
// writing it again gives the same bytes, in the encoding the file had.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/config_store.h"
#include "settings/ini_codec.h"

namespace {

std::string readAndWrite(std::string_view bytes) {
    const IniFileText file = iniTextFromFileBytes(bytes);
    Settings s;
    const std::optional<WindowPlacement> placement = loadSettingsFromIni(file.text, s);
    return iniFileBytes(writeSettingsIni(s, placement, file.text), file.encoding);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string written = readAndWrite({reinterpret_cast<const char*>(data), size});
    if (readAndWrite(written) != written) std::abort();
    return 0;
}
