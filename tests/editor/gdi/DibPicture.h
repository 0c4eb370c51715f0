// A 32-bit top-down DIB section selected into a memory DC, for painting the editor under Wine and reading its
// pixels back; and a 24-bit BMP writer for keeping what was painted as a picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "win/WinHandles.h"

namespace painttest {

class DibPicture {
public:
    DibPicture(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down: row 0 first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint32_t*>(bits);
        if (bitmap_ && dc_) select_.emplace(dc_.get(), bitmap_.get());
    }
    DibPicture(const DibPicture&) = delete;
    DibPicture& operator=(const DibPicture&) = delete;

    bool valid() const noexcept { return bits_ && select_.has_value(); }
    HDC dc() const noexcept { return dc_.get(); }
    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }

    // The pixel as a colour value 0x00BBGGRR (the DIB holds 0x00RRGGBB).
    COLORREF at(int x, int y) const {
        ::GdiFlush();
        const std::uint32_t v =
            bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

    bool writeBmp(const char* path) const {
        ::GdiFlush();
        const int stride = (width_ * 3 + 3) & ~3;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width_;
        info.biHeight = height_;  // bottom-up
        info.biPlanes = 1;
        info.biBitCount = 24;
        info.biCompression = BI_RGB;
        info.biSizeImage = static_cast<DWORD>(stride * height_);
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + info.biSizeImage;
        std::FILE* f = std::fopen(path, "wb");
        if (!f) return false;
        bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1;
        std::vector<unsigned char> row(static_cast<std::size_t>(stride), 0);
        for (int y = height_ - 1; ok && y >= 0; --y) {
            for (int x = 0; x < width_; ++x) {
                const std::uint32_t v =
                    bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
                row[static_cast<std::size_t>(x) * 3] = static_cast<unsigned char>(v & 0xFF);
                row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
                row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<unsigned char>((v >> 16) & 0xFF);
            }
            ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
        }
        return std::fclose(f) == 0 && ok;
    }

private:
    int width_;
    int height_;
    win::UniqueBitmap bitmap_;
    win::MemoryDC dc_;
    std::optional<win::SelectGuard> select_;  // last: the bitmap leaves the DC before either goes
    const std::uint32_t* bits_ = nullptr;
};

}  // namespace painttest
