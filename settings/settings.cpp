// The process-wide Settings instance.
#include "settings/settings.h"

#include "image/file_choice.h"

namespace {

// Never destroyed: the record lives until the process ends, so nothing that
// runs during exit can find it gone.
Settings* instance = nullptr;

}  // namespace

Settings& settings() {
    if (!instance) instance = new Settings;
    return *instance;
}

void resetSettings() {
    delete instance;
    instance = new Settings;
}

std::u16string configPathBeside(std::u16string_view exePath) {
    if (exePath.empty()) return {};
    // Everything up to and including the last separator is the folder; a
    // bare file name means the current folder.
    size_t slash = exePath.find_last_of(u"\\/");
    std::u16string path(slash == std::u16string_view::npos ? std::u16string_view{}
                                                           : exePath.substr(0, slash + 1));
    path += u"config.ini";
    // A path cut to fit would name some other file; no path is safer.
    if (path.size() >= kFilePathLength) return {};
    return path;
}
