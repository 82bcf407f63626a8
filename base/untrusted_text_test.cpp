// Text from outside: one line whatever arrives, and only web addresses for the shell and the servers.
#include "base/untrusted_text.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(UntrustedText, EveryLineBreakAndControlCharacterBecomesOneSpace) {
    const std::pair<std::string, std::string> cases[] = {
        {"Bursa\r\n[Favorites]\r\nEvil=TUXX0014", "Bursa [Favorites] Evil=TUXX0014"},
        {"\n\n  İstanbul \t ", "İstanbul"},
        {std::string("Ankara\0Evil", 11), "Ankara Evil"},
        {"Ağrı\x7F\x01\x1F"
         "Dağı",
         "Ağrı Dağı"},
        {"Köln\xC2\x85"
         "Evil",
         "Köln Evil"},  // NEL
        {"Lyon\xC2\x9F"
         "x",
         "Lyon x"},  // the last C1 character
        {"Zürich\xE2\x80\xA8"
         "a\xE2\x80\xA9"
         "b",
         "Zürich a b"},  // line and paragraph separators
        {"Çorum\xC2\xA0"
         "x",
         "Çorum\xC2\xA0"
         "x"},                                         // a no-break space is a letter of the line
        {"Tromsø\xE2\x80\xA6", "Tromsø\xE2\x80\xA6"},  // and so is an ellipsis
        {"", ""},
        {"\r\n", ""},
    };
    for (const auto& [text, line] : cases) EXPECT_EQ(OneLine(text), line) << text;
}

TEST(UntrustedText, OnlyHttpAndHttpsAddressesWithAHostAreWebAddresses) {
    for (const char* address : {"http://www.pelvar.com/projects.html#nimbo", "https://nimbo.example",
                                "HTTP://127.0.0.1:8640/index.html#nimbonew", "https://[::1]:8640/x?a=b&c=%20"}) {
        EXPECT_TRUE(IsWebAddress(address)) << address;
    }
    for (const char* address : {"file:///C:/Windows/System32/calc.exe",
                                "C:\\Windows\\System32\\calc.exe",
                                "\\\\server\\share\\evil.exe",
                                "javascript:alert(1)",
                                "ms-settings:",
                                "http:/x",
                                "http://",
                                "https://:80/",
                                "http:///etc/passwd",
                                "http://@/",
                                " http://x",
                                "http://x y",
                                "http://x\r\nEvil=1",
                                "http://x\"",
                                "http://x<y>",
                                "http://çiçek.tr",
                                "http://x\\y",
                                "ftp://x",
                                "httpx://y",
                                ""}) {
        EXPECT_FALSE(IsWebAddress(address)) << address;
    }
}

TEST(UntrustedText, AServerOptionIsAWebBaseAddressAfterItsQuotesAndBlanks) {
    const std::pair<const char*, const char*> accepted[] = {
        {"http://127.0.0.1:8640", "http://127.0.0.1:8640"},
        {"\"http://nimbo.example:8640/\"", "http://nimbo.example:8640/"},
        {"  'https://nimbo.example/base'  ", "https://nimbo.example/base"},
        {"\t\" http://x \"", "http://x"},
        {"\"http://x", "http://x"},
    };
    for (const auto& [option, base] : accepted) EXPECT_EQ(ServerBaseFromOption(option), base) << option;
    for (const char* option : {"", "\"\"", "  ", "direct", "127.0.0.1:8640", "file:///C:/x", "http://x/?a=1",
                               "http://x/#top", "http://x\r\n[Servers]", "http://x y"}) {
        EXPECT_EQ(ServerBaseFromOption(option), std::nullopt) << option;
    }
}

}  // namespace
}  // namespace nimbo
