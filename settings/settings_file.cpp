// Reading and writing config.ini, and the executable's own path.
#include "settings/settings_file.h"

#include <bit>
#include <cstddef>
#include <exception>
#include <iterator>
#include <optional>
#include <string>

#include "image/file_choice.h"
#include "image/file_replace.h"
#include "image/scoped_handles.h"
#include "settings/config_store.h"
#include "settings/ini_codec.h"

static_assert(sizeof(WINDOWPLACEMENT) == sizeof(WindowPlacement));
static_assert(offsetof(WINDOWPLACEMENT, flags) == offsetof(WindowPlacement, flags));
static_assert(offsetof(WINDOWPLACEMENT, showCmd) == offsetof(WindowPlacement, showCmd));
static_assert(offsetof(WINDOWPLACEMENT, ptMinPosition) == offsetof(WindowPlacement, minPosition));
static_assert(offsetof(WINDOWPLACEMENT, ptMaxPosition) == offsetof(WindowPlacement, maxPosition));
static_assert(offsetof(WINDOWPLACEMENT, rcNormalPosition) == offsetof(WindowPlacement, normalLeft));
static_assert(WindowPlacement::kShowMinimized == SW_SHOWMINIMIZED);
static_assert(WindowPlacement::kShowMaximized == SW_SHOWMAXIMIZED);
static_assert(WindowPlacement::kMinimize == SW_MINIMIZE);
static_assert(WindowPlacement::kRestore == SW_RESTORE);
static_assert(WindowPlacement::kRestoreToMaximized == WPF_RESTORETOMAXIMIZED);
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace {

// A config.ini larger than this is not ours; it is neither read nor replaced.
constexpr LONGLONG kMaxConfigBytes = 1 << 20;

enum class ReadResult { Read, Missing, Failed };

// The whole file's text and how it was stored.
ReadResult readConfigText(const std::u16string& path, IniFileText& text) {
    ScopedFile file(CreateFileW(asWide(path.c_str()), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        DWORD error = GetLastError();
        bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return missing ? ReadResult::Missing : ReadResult::Failed;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxConfigBytes) {
        return ReadResult::Failed;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
         done != bytes.size())) {
        return ReadResult::Failed;
    }
    text = iniTextFromFileBytes(bytes);
    return ReadResult::Read;
}

}  // namespace

std::u16string executablePath() {
    wchar_t buffer[kFilePathLength];
    DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    // A path that filled the whole buffer was cut.
    if (length == 0 || length >= std::size(buffer)) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

bool loadSettings(Settings& s, HWND mainWindow) {
    std::optional<WindowPlacement> placement;
    // Settings are never worth a failed start: without memory for the text
    // the defaults stay.
    try {
        IniFileText file;
        if (s.configPath.empty() || readConfigText(s.configPath, file) != ReadResult::Read) {
            return false;
        }
        placement = loadSettingsFromIni(file.text, s);
    } catch (const std::exception&) {
        return false;
    }
    if (placement && mainWindow) {
        WINDOWPLACEMENT wp = std::bit_cast<WINDOWPLACEMENT>(*placement);
        SetWindowPlacement(mainWindow, &wp);
    }
    return true;
}

bool saveSettings(const Settings& s, HWND mainWindow) {
    if (s.configPath.empty()) return false;
    std::optional<WindowPlacement> placement;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (mainWindow && GetWindowPlacement(mainWindow, &wp)) {
        placement = placementForSaving(std::bit_cast<WindowPlacement>(wp));
    }
    // The new text keeps what the current file holds besides our keys, in the
    // encoding it has; a file that exists but cannot be read is left alone
    // rather than replaced.
    // Writing errors, running out of memory included, end the save silently.
    try {
        IniFileText existing;
        if (readConfigText(s.configPath, existing) == ReadResult::Failed) return false;
        const std::string text =
            iniFileBytes(writeSettingsIni(s, placement, existing.text), existing.encoding);
        return replaceFileWith(s.configPath.c_str(), [&](ByteSink& sink) {
            return sink.write(text.data(), text.size());
        });
    } catch (const std::exception&) {
        return false;
    }
}
