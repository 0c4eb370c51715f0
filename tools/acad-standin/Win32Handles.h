// Owning wrappers for the handles and paired calls of the stand-in and its client.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

// In a namespace of its own: tests include these beside the program's own wrappers.
namespace standin {

struct KernelHandleCloser {
    void operator()(HANDLE h) const noexcept { ::CloseHandle(h); }
};
// A kernel handle (file, process); empty for both NULL and INVALID_HANDLE_VALUE.
using UniqueHandle = std::unique_ptr<void, KernelHandleCloser>;

inline UniqueHandle handleTake(HANDLE h) noexcept {
    return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const noexcept { ::DeleteObject(h); }
};
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

class SelectGuard {  // restores the DC's previous object at scope exit
public:
    SelectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectGuard() { ::SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

class PaintGuard {  // BeginPaint .. EndPaint
public:
    explicit PaintGuard(HWND window) noexcept : window_(window) { dc_ = ::BeginPaint(window, &ps_); }
    ~PaintGuard() { ::EndPaint(window_, &ps_); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    HDC dc() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

}  // namespace standin
