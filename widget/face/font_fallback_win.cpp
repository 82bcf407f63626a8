// Fonts for the faces, never a family that draws nothing.
#include "widget/face/font_fallback_win.h"

#include <cstddef>
#include <vector>

#include "base/wide_text_win.h"

namespace nimbo {
namespace {

std::unique_ptr<Gdiplus::Font> FontOf(const Gdiplus::FontFamily* family, float pixels, INT style) {
    if (!family || family->GetLastStatus() != Gdiplus::Ok || !family->IsAvailable()) return nullptr;
    auto font = std::make_unique<Gdiplus::Font>(family, pixels, style, Gdiplus::UnitPixel);
    if (font->GetLastStatus() == Gdiplus::Ok && font->IsAvailable()) return font;
    return nullptr;
}

std::unique_ptr<Gdiplus::Font> FontNamed(const std::wstring& name, float pixels, INT style) {
    if (name.empty()) return nullptr;
    const Gdiplus::FontFamily family(name.c_str());
    return FontOf(&family, pixels, style);
}

// Stripped systems may lack even the generic families: the first family installed at all.
std::unique_ptr<Gdiplus::Font> AnyInstalledFont(float pixels, INT style) {
    Gdiplus::InstalledFontCollection installed;
    const INT count = installed.GetFamilyCount();
    if (count <= 0) return nullptr;
    std::vector<Gdiplus::FontFamily> families(static_cast<size_t>(count));
    INT found = 0;
    if (installed.GetFamilies(count, families.data(), &found) != Gdiplus::Ok) return nullptr;
    for (INT i = 0; i < found; ++i) {
        if (auto font = FontOf(&families[static_cast<size_t>(i)], pixels, style)) return font;
    }
    return nullptr;
}

}  // namespace

std::wstring MessageFontFamily() {
    NONCLIENTMETRICSW metrics{};
    // The size of the structure Windows XP knows: the newer field would make it refuse.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof metrics.lfMessageFont;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return {};
    return metrics.lfMessageFont.lfFaceName;
}

std::unique_ptr<Gdiplus::Font> MakeAvailableFont(const std::string& family, float pixels, INT style) {
    if (auto font = FontNamed(Widen(family), pixels, style)) return font;
    if (auto font = FontNamed(MessageFontFamily(), pixels, style)) return font;
    if (auto font = FontOf(Gdiplus::FontFamily::GenericSansSerif(), pixels, style)) return font;
    return AnyInstalledFont(pixels, style);
}

}  // namespace nimbo
