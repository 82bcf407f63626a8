// A family the system lacks still gives a font that draws: the message font's family first.
#include "widget/face/font_fallback_win.h"

#include <gtest/gtest.h>

#include "base/wide_text_win.h"

namespace nimbo {
namespace {

std::wstring FamilyName(const Gdiplus::Font& font) {
    Gdiplus::FontFamily family;
    font.GetFamily(&family);
    WCHAR name[LF_FACESIZE] = {};
    family.GetFamilyName(name);
    return name;
}

TEST(FontFallback, AMissingFamilyFallsBackToTheMessageFontAndAnInstalledOneIsKept) {
    GdiplusSession gdiplus;
    const std::wstring message = MessageFontFamily();
    ASSERT_FALSE(message.empty());

    const auto missing = MakeAvailableFont("Nimbo Olmayan Yazı Tipi", 14.0f, Gdiplus::FontStyleBold);
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->IsAvailable());
    EXPECT_EQ(FamilyName(*missing), message);
    EXPECT_FLOAT_EQ(missing->GetSize(), 14.0f);
    EXPECT_EQ(missing->GetStyle(), Gdiplus::FontStyleBold);

    const auto named = MakeAvailableFont(Narrow(message), 9.0f, Gdiplus::FontStyleRegular);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(FamilyName(*named), message);
    const auto empty = MakeAvailableFont("", 9.0f, Gdiplus::FontStyleRegular);
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->IsAvailable());
}

}  // namespace
}  // namespace nimbo
