// UTF-8 <-> UTF-16 and the Turkish single-byte sets: exact for valid text, safe for broken text.
#include <gtest/gtest.h>

#include "base/turkish_codepage.h"
#include "base/utf.h"

namespace nimbo {
namespace {

TEST(Utf, ValidTextRoundTripsThroughUtf16) {
    for (const std::string text : {"", "Istanbul", "İstanbul Şanlıurfa ğüöçı", "€ 20°C", "😀 ay"}) {
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    }
    EXPECT_EQ(Utf8ToUtf16("İ"), u"\u0130");
    EXPECT_EQ(Utf8ToUtf16("😀"), u"\xD83D\xDE00");
}

TEST(Utf, BrokenInputBecomesReplacementCharactersWithoutReadingPastTheEnd) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"\xC4", u"\uFFFD"},                                // cut after the lead byte
        {"a\xE2\x82", u"a\uFFFD\uFFFD"},                    // cut inside a three-byte sequence
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong '/'
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\xFF", u"\uFFFD"},
        {"\x80x", u"\uFFFDx"},
    };
    for (const auto& [utf8, utf16] : cases) EXPECT_EQ(Utf8ToUtf16(utf8), utf16);
    EXPECT_EQ(Utf16ToUtf8(u"\xD83D"), "\xEF\xBF\xBD");    // a lone high surrogate
    EXPECT_EQ(Utf16ToUtf8(u"\xDE00x"), "\xEF\xBF\xBDx");  // a lone low surrogate
}

TEST(TurkishCodepage, TheSixTurkishLettersAndTheWindowsUpperRange) {
    EXPECT_EQ(TurkishToUtf8("\xD0\xDD\xDE\xF0\xFD\xFE"), "ĞİŞğış");
    EXPECT_EQ(TurkishToUtf8("\xD0\xDD\xDE\xF0\xFD\xFE", TurkishCharset::Iso8859_9), "ĞİŞğış");
    EXPECT_EQ(TurkishToUtf8("\x80\x9F"), "€Ÿ");
    EXPECT_EQ(TurkishToUtf8("\x80", TurkishCharset::Iso8859_9), "\xC2\x80");  // a C1 control there
    EXPECT_EQ(TurkishToUtf8("\xC7\xD6\xDC\xE7\xF6\xFC"), "ÇÖÜçöü");
    EXPECT_EQ(Utf8ToTurkish("Çiğli, İzmir"), "\xC7i\xF0li, \xDDzmir");
}

TEST(TurkishCodepage, EveryByteRoundTripsAndForeignLettersBecomeQuestionMarks) {
    for (const auto charset : {TurkishCharset::Windows1254, TurkishCharset::Iso8859_9}) {
        std::string all;
        for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
        EXPECT_EQ(Utf8ToTurkish(TurkishToUtf8(all, charset), charset), all);
    }
    EXPECT_EQ(Utf8ToTurkish("Ωmega Łódź 😀"),
              "?mega ?\xF3"
              "d? ?");
    EXPECT_EQ(Utf8ToTurkish("\xC4"), "?");
}

}  // namespace
}  // namespace nimbo
