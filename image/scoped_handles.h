#pragma once
// Small non-copyable guards for the platform's handles and states: each
// releases or restores what it took on every path, and keeps everything its
// destructor needs.
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
    // Hands the block on (to the clipboard, which then owns it).
    HGLOBAL release() {
        HGLOBAL block = block_;
        block_ = nullptr;
        return block;
    }

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
    // Hands the context on to an owner that deletes it later.
    HDC adopt() {
        HDC dc = dc_;
        dc_ = nullptr;
        return dc;
    }

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

class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelectObject() { SelectObject(dc_, previous_); }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's device context from GetDC, given back with the same window.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedWindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &paint_); }
    ~ScopedPaint() { EndPaint(hwnd_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC dc() const { return dc_; }
    const RECT& dirty() const { return paint_.rcPaint; }

private:
    HWND hwnd_;
    HDC dc_;
    PAINTSTRUCT paint_{};
};

// A GDI object we created (pen, brush, font, bitmap), deleted on scope exit.
template <class Handle>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(Handle handle = nullptr) : handle_(handle) {}
    ~ScopedGdiObject() {
        if (handle_) DeleteObject(handle_);
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    Handle get() const { return handle_; }
    Handle release() {
        Handle h = handle_;
        handle_ = nullptr;
        return h;
    }

private:
    Handle handle_;
};

// An open clipboard, closed again on scope exit when the open succeeded. A
// close that reports failure is tried once more, so the clipboard is never
// left open for the other programs.
class ScopedClipboard {
public:
    // Clipboard viewers and managers hold the clipboard for a moment after
    // each change; opening is tried for a while before it counts as failed.
    // Such a reader may be holding it while it waits for us to render our
    // last copy, so the wait answers what other threads send us.
    explicit ScopedClipboard(HWND owner) {
        const DWORD start = GetTickCount();
        while (!(open_ = OpenClipboard(owner) != FALSE) && GetTickCount() - start < kOpenWaitMs) {
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, kOpenRetryMs, QS_SENDMESSAGE) ==
                WAIT_OBJECT_0) {
                MSG sent;
                PeekMessageW(&sent, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            }
        }
    }
    ~ScopedClipboard() { close(); }
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;
    bool isOpen() const { return open_; }
    void close() {
        if (open_ && !CloseClipboard()) CloseClipboard();
        open_ = false;
    }

private:
    static constexpr DWORD kOpenWaitMs = 100;
    static constexpr DWORD kOpenRetryMs = 10;
    bool open_ = false;
};

// A locked global memory block, unlocked on scope exit or by unlock().
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL block)
        : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    ~ScopedGlobalLock() { unlock(); }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;
    void* data() const { return data_; }
    SIZE_T size() const { return data_ ? GlobalSize(block_) : 0; }
    void unlock() {
        if (data_) GlobalUnlock(block_);
        data_ = nullptr;
    }

private:
    HGLOBAL block_;
    void* data_;
};
