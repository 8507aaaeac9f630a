// Reading and writing config.ini, and the executable's own path.
#include "settings/settings_file.h"

#include <bit>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>

#include "image/file_choice.h"
#include "settings/config_store.h"
#include "settings/ini_codec.h"

static_assert(sizeof(WINDOWPLACEMENT) == sizeof(WindowPlacement));
static_assert(offsetof(WINDOWPLACEMENT, flags) == offsetof(WindowPlacement, flags));
static_assert(offsetof(WINDOWPLACEMENT, showCmd) == offsetof(WindowPlacement, showCmd));
static_assert(offsetof(WINDOWPLACEMENT, ptMinPosition) == offsetof(WindowPlacement, minPosition));
static_assert(offsetof(WINDOWPLACEMENT, ptMaxPosition) == offsetof(WindowPlacement, maxPosition));
static_assert(offsetof(WINDOWPLACEMENT, rcNormalPosition) ==
              offsetof(WindowPlacement, normalLeft));
static_assert(WindowPlacement::kShowMinimized == SW_SHOWMINIMIZED);
static_assert(WindowPlacement::kShowMaximized == SW_SHOWMAXIMIZED);
static_assert(WindowPlacement::kMinimize == SW_MINIMIZE);
static_assert(WindowPlacement::kRestore == SW_RESTORE);
static_assert(WindowPlacement::kRestoreToMaximized == WPF_RESTORETOMAXIMIZED);
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace {

// A config.ini larger than this is not ours; it is neither read nor replaced.
constexpr LONGLONG kMaxConfigBytes = 1 << 20;

class ScopedFile {
public:
    explicit ScopedFile(HANDLE h) : handle_(h) {}
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    ~ScopedFile() { close(); }

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        if (!valid()) return true;
        bool ok = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

const wchar_t* wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

enum class ReadResult { Read, Missing, Failed };

// The whole file as narrow text.
ReadResult readConfigText(const std::u16string& path, std::string& text) {
    ScopedFile file(CreateFileW(wide(path), GENERIC_READ,
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

// Writes `text` to a temporary file beside `path` and moves it over `path`
// only once every byte is written, so a failed save keeps the previous file.
bool replaceFile(const std::u16string& path, const std::string& text) {
    std::u16string temp = path + u".tmp";
    ScopedFile file(CreateFileW(wide(temp), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    DWORD done = 0;
    bool written = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &done,
                             nullptr) &&
                   done == text.size() && FlushFileBuffers(file.get());
    written = file.close() && written;
    if (written &&
        MoveFileExW(wide(temp), wide(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileW(wide(temp));
    return false;
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
    std::string text;
    if (s.configPath.empty() || readConfigText(s.configPath, text) != ReadResult::Read) {
        return false;
    }
    std::optional<WindowPlacement> placement = loadSettingsFromIni(text, s);
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
    // The new text keeps what the current file holds besides our keys; a file
    // that exists but cannot be read is left alone rather than replaced.
    std::string existing;
    if (readConfigText(s.configPath, existing) == ReadResult::Failed) return false;
    return replaceFile(s.configPath, writeSettingsIni(s, placement, existing));
}
