// RAII owners for Win32 handles and paired calls, shared by every Win32 unit of the program and by the tools.
// Every wrapper deletes copying; the owning ones move. Nothing here throws.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace win {

// --- kernel handles ---------------------------------------------------------------------------------------------

// A handle closed by `Close`; both null and INVALID_HANDLE_VALUE count as empty, since kernel calls use either
// value for "no handle" (CreateFileA and FindFirstFileA the second, most others the first).
template <BOOL(WINAPI* Close)(HANDLE)>
class BasicHandle {
public:
    BasicHandle() noexcept = default;
    explicit BasicHandle(HANDLE h) noexcept : h_(h) {}
    ~BasicHandle() { reset(); }
    BasicHandle(BasicHandle&& o) noexcept : h_(o.release()) {}
    BasicHandle& operator=(BasicHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    BasicHandle(const BasicHandle&) = delete;
    BasicHandle& operator=(const BasicHandle&) = delete;

    HANDLE get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
    HANDLE release() noexcept { return std::exchange(h_, nullptr); }
    void reset(HANDLE h = nullptr) noexcept {
        if (*this) Close(h_);
        h_ = h;
    }

private:
    HANDLE h_ = nullptr;
};

// Files, processes, threads, events, mutexes: CloseHandle.
using UniqueHandle = BasicHandle<::CloseHandle>;
// A directory search: FindClose. FindFirstFileA fails with INVALID_HANDLE_VALUE.
using UniqueFindHandle = BasicHandle<::FindClose>;

// A directory search with its current entry: FindFirstFileA at construction, next() for the rest.
class FileSearch {
public:
    explicit FileSearch(const char* mask) noexcept : handle_(::FindFirstFileA(mask, &data_)) {}
    bool valid() const noexcept { return static_cast<bool>(handle_); }
    const WIN32_FIND_DATAA& entry() const noexcept { return data_; }
    bool next() noexcept { return ::FindNextFileA(handle_.get(), &data_) != FALSE; }

private:
    WIN32_FIND_DATAA data_{};
    UniqueFindHandle handle_;
};

// --- GDI and USER objects ---------------------------------------------------------------------------------------

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const noexcept { ::DeleteObject(h); }
};
template <class H>
using UniqueGdi = std::unique_ptr<std::remove_pointer_t<H>, GdiObjectDeleter>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueRegion = UniqueGdi<HRGN>;

struct IconDeleter {
    void operator()(HICON h) const noexcept { ::DestroyIcon(h); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// Only for cursors the program made itself (CreateCursor, CreateIconIndirect); cursors loaded from resources
// are shared and never destroyed.
struct CursorDeleter {
    void operator()(HCURSOR h) const noexcept { ::DestroyCursor(h); }
};
using UniqueCursor = std::unique_ptr<std::remove_pointer_t<HCURSOR>, CursorDeleter>;

struct MenuDeleter {
    void operator()(HMENU h) const noexcept { ::DestroyMenu(h); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

struct AccelDeleter {
    void operator()(HACCEL h) const noexcept { ::DestroyAcceleratorTable(h); }
};
using UniqueAccel = std::unique_ptr<std::remove_pointer_t<HACCEL>, AccelDeleter>;

// A module from LoadLibrary / LoadLibraryEx (not GetModuleHandle, which takes no reference).
struct ModuleDeleter {
    void operator()(HMODULE h) const noexcept { ::FreeLibrary(h); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

struct ImageListDeleter {
    void operator()(HIMAGELIST h) const noexcept { ::ImageList_Destroy(h); }
};
using UniqueImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

// --- device contexts ----------------------------------------------------------------------------------------------

// A window's DC from GetDC (null window: the screen), released at scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A memory DC compatible with `like` (null: the screen), deleted at scope exit. Objects selected into it must
// be restored first (SelectGuard declared after it does that).
class MemoryDC {
public:
    explicit MemoryDC(HDC like = nullptr) noexcept : dc_(::CreateCompatibleDC(like)) {}
    ~MemoryDC() {
        if (dc_) ::DeleteDC(dc_);
    }
    MemoryDC(MemoryDC&& o) noexcept : dc_(std::exchange(o.dc_, nullptr)) {}
    MemoryDC& operator=(MemoryDC&& o) noexcept {
        if (this != &o) {
            if (dc_) ::DeleteDC(dc_);
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Selects an object into a DC and restores the previous one at scope exit.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC / RestoreDC around changes of colours, modes, clipping.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) noexcept : dc_(dc), saved_(::SaveDC(dc)) {}
    ~SavedDCState() {
        if (saved_) ::RestoreDC(dc_, saved_);
    }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
    ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const noexcept { return dc_; }
    const PAINTSTRUCT& info() const noexcept { return ps_; }

private:
    HWND hwnd_;
    HDC dc_ = nullptr;
    PAINTSTRUCT ps_{};
};

// --- window state pairs -----------------------------------------------------------------------------------------

// WM_SETREDRAW off for the scope, then on again with a repaint (a list refilled in one go).
class RedrawSuspender {
public:
    explicit RedrawSuspender(HWND hwnd) noexcept : hwnd_(hwnd) { ::SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawSuspender() {
        ::SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }
    RedrawSuspender(const RedrawSuspender&) = delete;
    RedrawSuspender& operator=(const RedrawSuspender&) = delete;

private:
    HWND hwnd_;
};

// The other windows of this thread disabled while a modal window (or a platform dialog) is open: every visible,
// enabled top-level window of the thread except `keep` is disabled at construction and enabled again, in reverse
// order, at scope exit (or at restore()), so that activation passes back to them and not to another program.
class ThreadWindowsDisabled {
public:
    explicit ThreadWindowsDisabled(HWND keep = nullptr) noexcept : keep_(keep) {
        ::EnumThreadWindows(::GetCurrentThreadId(), &ThreadWindowsDisabled::collect, reinterpret_cast<LPARAM>(this));
        for (HWND h : windows_) ::EnableWindow(h, FALSE);
    }
    ~ThreadWindowsDisabled() { restore(); }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

    void restore() noexcept {
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if (::IsWindow(*it)) ::EnableWindow(*it, TRUE);
        windows_.clear();
    }
    const std::vector<HWND>& windows() const noexcept { return windows_; }

private:
    static BOOL CALLBACK collect(HWND h, LPARAM self) {
        auto* me = reinterpret_cast<ThreadWindowsDisabled*>(self);
        if (h != me->keep_ && ::IsWindowVisible(h) && ::IsWindowEnabled(h)) me->windows_.push_back(h);
        return TRUE;
    }

    HWND keep_;
    std::vector<HWND> windows_;
};

// --- memory and the clipboard -------------------------------------------------------------------------------------

// A movable global memory block (clipboard data) freed with GlobalFree unless released to its new owner
// (SetClipboardData takes ownership only when it succeeds).
class UniqueGlobal {
public:
    UniqueGlobal() noexcept = default;
    explicit UniqueGlobal(HGLOBAL h) noexcept : h_(h) {}
    static UniqueGlobal allocate(SIZE_T bytes) noexcept { return UniqueGlobal(::GlobalAlloc(GMEM_MOVEABLE, bytes)); }
    ~UniqueGlobal() {
        if (h_) ::GlobalFree(h_);
    }
    UniqueGlobal(UniqueGlobal&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueGlobal& operator=(UniqueGlobal&& o) noexcept {
        if (this != &o) {
            if (h_) ::GlobalFree(h_);
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    UniqueGlobal(const UniqueGlobal&) = delete;
    UniqueGlobal& operator=(const UniqueGlobal&) = delete;
    HGLOBAL get() const noexcept { return h_; }
    HGLOBAL release() noexcept { return std::exchange(h_, nullptr); }
    explicit operator bool() const noexcept { return h_ != nullptr; }

private:
    HGLOBAL h_ = nullptr;
};

// GlobalLock / GlobalUnlock. size() is the block's size, so data without a terminating NUL is read bounded.
template <class T = char>
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) noexcept
        : h_(h), p_(h ? static_cast<T*>(::GlobalLock(h)) : nullptr), size_(p_ ? ::GlobalSize(h) : 0) {}
    ~GlobalLockGuard() {
        if (p_) ::GlobalUnlock(h_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    T* get() const noexcept { return p_; }
    SIZE_T size() const noexcept { return size_; }  // bytes
    explicit operator bool() const noexcept { return p_ != nullptr; }

private:
    HGLOBAL h_;
    T* p_;
    SIZE_T size_;
};

// The clipboard, opened for `owner` with a short retry (another program may hold it for a moment), always closed
// at scope exit. Check opened() before use.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner, int attempts = 10, DWORD pauseMs = 20) noexcept {
        for (int i = 0; i < attempts; ++i) {
            if (::OpenClipboard(owner)) {
                open_ = true;
                break;
            }
            if (i + 1 < attempts) ::Sleep(pauseMs);
        }
    }
    ~ClipboardScope() {
        if (open_) ::CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool opened() const noexcept { return open_; }

private:
    bool open_ = false;
};

// --- input method -----------------------------------------------------------------------------------------------

// A window's input context (ImmGetContext / ImmReleaseContext); empty where no IME is installed.
class ImeContext {
public:
    explicit ImeContext(HWND hwnd) noexcept : hwnd_(hwnd), himc_(::ImmGetContext(hwnd)) {}
    ~ImeContext() {
        if (himc_) ::ImmReleaseContext(hwnd_, himc_);
    }
    ImeContext(const ImeContext&) = delete;
    ImeContext& operator=(const ImeContext&) = delete;
    HIMC get() const noexcept { return himc_; }
    explicit operator bool() const noexcept { return himc_ != nullptr; }

private:
    HWND hwnd_;
    HIMC himc_;
};

}  // namespace win
