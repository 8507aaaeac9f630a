#pragma once
// Non-copyable guards for the kernel, memory, GDI and COM objects of the file
// loaders and writers: each releases what it holds on every path.
#include <windows.h>

#include <objbase.h>

#include <cstddef>

// Win32 text is UTF-16 in wchar_t; the portable code keeps UTF-16 in char16_t.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t holds UTF-16 code units");
inline const wchar_t* asWide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* asWide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }

// A file handle from CreateFileW.
class ScopedFile {
public:
    explicit ScopedFile(HANDLE handle) : handle_(handle) {}
    ~ScopedFile() { close(); }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }
    // Closes now; false when the system reported an error (for a file being
    // written, the last data may not have reached the disk).
    bool close() {
        if (!valid()) return true;
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

// A global memory block from GlobalAlloc.
class ScopedGlobalBlock {
public:
    explicit ScopedGlobalBlock(HGLOBAL block) : block_(block) {}
    ~ScopedGlobalBlock() {
        if (block_ != nullptr) GlobalFree(block_);
    }
    ScopedGlobalBlock(const ScopedGlobalBlock&) = delete;
    ScopedGlobalBlock& operator=(const ScopedGlobalBlock&) = delete;
    HGLOBAL get() const { return block_; }

private:
    HGLOBAL block_;
};

// A memory device context from CreateCompatibleDC.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC dc) : dc_(dc) {}
    ~ScopedMemoryDC() {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// One reference to a COM interface.
template <class Interface>
class ScopedComRef {
public:
    explicit ScopedComRef(Interface* object = nullptr) : object_(object) {}
    ~ScopedComRef() { reset(); }
    ScopedComRef(const ScopedComRef&) = delete;
    ScopedComRef& operator=(const ScopedComRef&) = delete;
    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    void reset() {
        if (object_ != nullptr) object_->Release();
        object_ = nullptr;
    }

private:
    Interface* object_;
};

// COM on the calling thread for the length of a scope. A thread that already
// runs COM keeps it as it was (the call only counts up and down).
class ScopedComApartment {
public:
    ScopedComApartment()
        : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ScopedComApartment() {
        if (initialized_) CoUninitialize();
    }
    ScopedComApartment(const ScopedComApartment&) = delete;
    ScopedComApartment& operator=(const ScopedComApartment&) = delete;

private:
    bool initialized_;
};
