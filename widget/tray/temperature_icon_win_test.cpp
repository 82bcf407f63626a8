// The tray's temperature pictures under Wine: their pixels at the tray's sizes, dimming, and no handle left
// behind when a hundred feeds replace them.
#include "widget/tray/temperature_icon_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/gdiplus_session_win.h"
#include "widget/tray/tray_icon_win.h"

namespace nimbo::testing {
namespace {

struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // top-down rows

    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
    static BYTE Alpha(uint32_t p) { return static_cast<BYTE>(p >> 24); }
    // Opaque enough to be seen and nearly white, or dark: the digits' fill and their outline.
    int Count(bool white) const {
        int n = 0;
        for (uint32_t p : argb) {
            const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (Alpha(p) < 100) continue;
            if (white ? (r > 220 && g > 220 && b > 220) : (r < 80 && g < 80 && b < 80)) ++n;
        }
        return n;
    }
    BYTE MostAlpha() const {
        BYTE most = 0;
        for (uint32_t p : argb) most = std::max(most, Alpha(p));
        return most;
    }
};

IconPixels ReadIcon(HICON icon) {
    IconPixels pixels;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return pixels;
    const UniqueBitmap colour(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    if (!colour || !GetObjectW(colour.Get(), sizeof bitmap, &bitmap)) return pixels;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = bitmap.bmWidth;
    header.bmiHeader.biHeight = -bitmap.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    pixels.argb.resize(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, colour.Get(), 0, static_cast<UINT>(bitmap.bmHeight), pixels.argb.data(), &header,
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != bitmap.bmHeight) pixels.argb.clear();
    pixels.width = bitmap.bmWidth;
    pixels.height = bitmap.bmHeight;
    return pixels;
}

class TemperatureIconTest : public ::testing::Test {
protected:
    GdiplusSession m_gdiplus;
};

TEST_F(TemperatureIconTest, DigitsFillTheSquareWhiteOnADarkOutlineAtEverySize) {
    for (const int size : {16, 20, 24, 32}) {
        for (const char* digits : {"6", "-12", "38", "104"}) {
            const UniqueIcon icon = MakeTemperatureIcon(digits, size, false);
            ASSERT_TRUE(icon) << digits << " at " << size;
            const IconPixels pixels = ReadIcon(icon.Get());
            ASSERT_EQ(pixels.argb.size(), static_cast<size_t>(size * size)) << digits << " at " << size;
            EXPECT_GT(pixels.Count(true), size / 2) << digits << " at " << size;
            EXPECT_GT(pixels.Count(false), size / 2) << digits << " at " << size;
            // Nothing is cut at the edges, and the digits reach across most of the square.
            int left = size, right = -1;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    if (IconPixels::Alpha(pixels.At(x, y)) < 40) continue;
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
            EXPECT_GE(right - left + 1, size / 2) << digits << " at " << size;
            EXPECT_EQ(IconPixels::Alpha(pixels.At(0, 0)), 0) << digits << " at " << size;
        }
    }
    // Different temperatures look different.
    EXPECT_NE(ReadIcon(MakeTemperatureIcon("-12", 16, false).Get()).argb,
              ReadIcon(MakeTemperatureIcon("12", 16, false).Get()).argb);
}

TEST_F(TemperatureIconTest, AStaleTemperatureIsDrawnAtHalfOpacity) {
    const IconPixels fresh = ReadIcon(MakeTemperatureIcon("6", 16, false).Get());
    const IconPixels dimmed = ReadIcon(MakeTemperatureIcon("6", 16, true).Get());
    EXPECT_EQ(fresh.MostAlpha(), 255);
    EXPECT_LE(dimmed.MostAlpha(), 128);
    EXPECT_GT(dimmed.MostAlpha(), 100);
}

TEST_F(TemperatureIconTest, AHundredFeedsReplaceThePictureWithoutLeavingHandlesBehind) {
    TrayIconWin tray("Nimbo!", nullptr);
    TrayIconPicture picture;
    // Warmed up: the first drawing loads GDI+'s fonts and caches for good.
    picture.Show(*tray, tray.HiddenWindow(), TrayIconFace{"1", false});
    picture.Show(*tray, tray.HiddenWindow(), TrayIconFace{"2", true});
    // Windows counts a process's GDI and USER objects; Wine answers 0 for both, and there the destroyed icons
    // below are what shows nothing is left behind.
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    std::vector<HICON> shown;
    for (int feed = 0; feed < 100; ++feed) {
        picture.Show(*tray, tray.HiddenWindow(), TrayIconFace{std::to_string(feed - 40), feed % 7 == 0});
        shown.push_back(reinterpret_cast<HICON>(tray->NotifyData().icon));
    }
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 2);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore + 2);
    // Every picture but the one shown is gone.
    ICONINFO info{};
    for (size_t i = 0; i + 1 < shown.size(); ++i) {
        EXPECT_FALSE(GetIconInfo(shown[i], &info)) << i;
    }
    ASSERT_TRUE(GetIconInfo(shown.back(), &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // The same face again draws nothing new.
    picture.Show(*tray, tray.HiddenWindow(), TrayIconFace{"59", false});
    EXPECT_EQ(reinterpret_cast<HICON>(tray->NotifyData().icon), shown.back());
}

}  // namespace
}  // namespace nimbo::testing
