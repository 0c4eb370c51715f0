// Pictures of menu items drawn from an image list.
#include "forms/MenuPictures.h"

namespace forms {

win::UniqueBitmap menuPictureFrom(HIMAGELIST list, int index) {
    if (!list) return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::WindowDC screen(nullptr);
    win::UniqueBitmap bmp(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp || !bits) return nullptr;
    {
        win::MemoryDC dc(screen.get());
        if (!dc) return nullptr;
        win::SelectGuard select(dc.get(), bmp.get());
        ::ImageList_DrawEx(list, index, dc.get(), 0, 0, 16, 16, RGB(255, 0, 255), CLR_NONE, ILD_NORMAL);
    }
    ::GdiFlush();
    // Magenta becomes transparent, everything else opaque.
    auto* px = static_cast<DWORD*>(bits);
    for (int i = 0; i < 16 * 16; ++i) {
        const DWORD rgb = px[i] & 0x00FFFFFF;
        px[i] = rgb == 0x00FF00FF ? 0 : (rgb | 0xFF000000);
    }
    return bmp;
}

}  // namespace forms
