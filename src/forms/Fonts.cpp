// Screen scaling and the program's fonts.
#include "forms/Fonts.h"

#include <map>
#include <string>
#include <tuple>

#include "win/WinHandles.h"

namespace forms {

int screenDpi() {
    static const int dpi = [] {
        win::WindowDC dc(nullptr);
        const int d = dc.get() ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
        return d > 0 ? d : 96;
    }();
    return dpi;
}

int scaled(int designPixels) { return ::MulDiv(designPixels, screenDpi(), 96); }

int unscaled(int devicePixels) { return ::MulDiv(devicePixels, 96, screenDpi()); }

HFONT namedFont(const char* face, int designPixels, int weight) {
    // The UI thread is the only caller; the cache ends with the process.
    static std::map<std::tuple<std::string, int, int>, win::UniqueFont> fonts;
    auto key = std::make_tuple(std::string(face), designPixels, weight);
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second.get();
    LOGFONTA lf{};
    lf.lfHeight = -scaled(designPixels);
    lf.lfWeight = weight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&lf);
    if (!font) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    fonts.emplace(std::move(key), win::UniqueFont(font));
    return font;
}

HFONT formFont(int designPixels) { return namedFont("ＭＳ Ｐゴシック", designPixels); }

}  // namespace forms
