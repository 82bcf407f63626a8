// The settings file's bytes and the sections a copy leaves out.
#include "widget/settings_text.h"

#include <gtest/gtest.h>

#include "base/turkish_codepage.h"

namespace nimbo {
namespace {

std::string Ansi(std::string_view bytes) { return TurkishToUtf8(bytes); }

TEST(SettingsText, OnlyTheMarkMakesAFileUtf16) {
    EXPECT_EQ(EncodeSettingsFile("Şı😀\r\n"), std::string("\xFF\xFE\x5E\x01\x31\x01\x3D\xD8\x00\xDE\r\0\n\0", 14));
    struct Case {
        std::string bytes;
        std::string text;
    };
    for (const Case& c : {Case{EncodeSettingsFile("[A]\r\nk=İ\r\n"), "[A]\r\nk=İ\r\n"}, Case{"\xFF\xFE", ""},
                          Case{std::string("\xFF\xFE[\0x", 5), "["}, Case{"\xFE\xFF", "şÿ"},
                          Case{std::string("[\0A\0]\0", 6), std::string("[\0A\0]\0", 6)},
                          Case{"\xEF\xBB\xBF[A]", "ï»¿[A]"}, Case{"\xDDzmir", "İzmir"}}) {
        EXPECT_EQ(DecodeSettingsFile(c.bytes, Ansi), c.text) << c.text;
    }
}

TEST(SettingsText, LeavingSectionsOutKeepsEveryOtherLineAsItWas) {
    const std::string text =
        "; comment\r\n[Servers]\r\nWeather=x\r\n\r\n[Appearance]\r\nLeft=5\r\n  [ citiestu ]  "
        "\r\nA=1\r\n[Favorites]\r\n"
        "B=2";
    EXPECT_EQ(WithoutSections(text, {"Servers", "CitiesTU"}),
              "; comment\r\n[Appearance]\r\nLeft=5\r\n[Favorites]\r\nB=2");
    EXPECT_EQ(WithoutSections(text, {}), text);
    EXPECT_EQ(WithoutSections("", {"Servers"}), "");
}

}  // namespace
}  // namespace nimbo
