// What canopia.exe carries: the window icon, the picture strip, the manifest and the version texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Driver.h"
#include "resources/MainResources.h"
#include "win/WinHandles.h"

namespace {

class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        module_.reset(::LoadLibraryExA(CANOPIA_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE));
        exe_ = module_.get();
        ASSERT_NE(exe_, nullptr);
    }
    std::string resource(LPCSTR name, LPCSTR type) {
        HRSRC r = ::FindResourceA(exe_, name, type);
        if (!r) return {};
        HGLOBAL g = ::LoadResource(exe_, r);
        return std::string(static_cast<const char*>(::LockResource(g)), ::SizeofResource(exe_, r));
    }
    win::UniqueModule module_;
    HMODULE exe_ = nullptr;
};

TEST_F(Resources, IconHasTheSmallAndTheLargeSize) {
    for (int size : {16, 32}) {
        const win::UniqueIcon icon(
            static_cast<HICON>(::LoadImageA(exe_, MAKEINTRESOURCEA(IDI_CANOPIA), IMAGE_ICON, size, size, 0)));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
        // GetIconInfo hands over copies of the icon's bitmaps.
        const win::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bm{};
        ::GetObjectA(colour ? colour.get() : mask.get(), sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
    }
}

TEST_F(Resources, PictureStripHoldsEveryMenuPictureAtSixteenPixels) {
    const win::UniqueBitmap strip(
        static_cast<HBITMAP>(::LoadImageA(exe_, MAKEINTRESOURCEA(IDB_IMGICON), IMAGE_BITMAP, 0, 0, 0)));
    ASSERT_NE(strip, nullptr);
    BITMAP bm{};
    ::GetObjectA(strip.get(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmHeight, 16);
    EXPECT_EQ(bm.bmWidth, 16 * IMG_COUNT);
    EXPECT_GE(IMG_COUNT, 8);  // the notification-area menu uses picture 7
}

TEST_F(Resources, ManifestAsksForCommonControlsSixAndSystemDpiAwareness) {
    const std::string manifest = resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
}

TEST_F(Resources, VersionNamesTheProgramAndItsVersion) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(CANOPIA_EXE, &handle);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(::GetFileVersionInfoA(CANOPIA_EXE, 0, size, data.data()));
    // The wide query: the texts are stored as UTF-16 and turned into Shift-JIS here.
    auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT len = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\041103A4\\") + name;
        if (!::VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&text), &len) || !text) return std::string();
        char out[256] = {};
        ::WideCharToMultiByte(932, 0, text, -1, out, sizeof out, nullptr, nullptr);
        return std::string(out);
    };
    EXPECT_EQ(value(L"ProductName"), "カノピア");
    EXPECT_EQ(value(L"Comments"), "カノピア ver 1.00");
    EXPECT_EQ(value(L"FileVersion"), "1.00");
}

}  // namespace
