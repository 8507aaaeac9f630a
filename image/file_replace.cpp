// Writing a file through a temporary beside it.
#include "image/file_replace.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>

#include "image/scoped_handles.h"

namespace {

constexpr DWORD kLargestIo = 1u << 30;  // one WriteFile call at most

// Gathers the many small writes of the PNG encoder into blocks; large blocks
// (the pixel rows of a BMP) go to the file in one call.
class FileSink final : public ByteSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}

    bool write(const void* data, size_t size) override {
        if (failed_) return false;
        const auto* bytes = static_cast<const uint8_t*>(data);
        if (size <= sizeof buffer_ - used_) {
            std::memcpy(buffer_ + used_, bytes, size);
            used_ += size;
            return true;
        }
        if (!flush()) return false;
        if (size < sizeof buffer_) {
            std::memcpy(buffer_, bytes, size);
            used_ = size;
            return true;
        }
        failed_ = !writeAll(bytes, size);
        return !failed_;
    }

    bool flush() {
        if (failed_) return false;
        failed_ = !writeAll(buffer_, used_);
        used_ = 0;
        return !failed_;
    }

private:
    // A short write is a failed write.
    bool writeAll(const uint8_t* bytes, size_t size) {
        while (size > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, kLargestIo));
            DWORD written = 0;
            if (!WriteFile(file_, bytes, chunk, &written, nullptr) || written != chunk) {
                return false;
            }
            bytes += chunk;
            size -= chunk;
        }
        return true;
    }

    HANDLE file_;
    uint8_t buffer_[64 * 1024];
    size_t used_ = 0;
    bool failed_ = false;
};

size_t folderLength(const std::u16string& path) {
    const size_t separator = path.find_last_of(u"\\/:");
    return separator == std::u16string::npos ? 0 : separator + 1;
}

}  // namespace

std::u16string temporaryPathFor(const char16_t* path) {
    std::u16string result(path);
    result.resize(folderLength(result));
    const std::string id = std::to_string(GetCurrentProcessId());
    result += u"~plimsett-";
    result.append(id.begin(), id.end());
    result += u".tmp";
    return result;
}

bool replaceFileWith(const char16_t* path, const std::function<bool(ByteSink&)>& produce) {
    if (path == nullptr || *path == u'\0') return false;
    std::u16string temporary;
    try {
        temporary = temporaryPathFor(path);
    } catch (const std::exception&) {
        return false;
    }
    const wchar_t* temporaryName = asWide(temporary.c_str());

    bool written = false;
    {
        ScopedFile file(CreateFileW(temporaryName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return false;
        FileSink sink(file.get());
        written = produce(sink) && sink.flush() && FlushFileBuffers(file.get()) != FALSE;
        written = file.close() && written;
    }
    constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (written && MoveFileExW(temporaryName, asWide(path), kReplace)) return true;
    DeleteFileW(temporaryName);
    return false;
}
