// Turkish order and the name key: the dotted and dotless i and the letters after c, g, o, s and u.
#include "widget/config/turkish_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace nimbo {
namespace {

TEST(TurkishOrder, SortsByTheTurkishAlphabetIgnoringCase) {
    std::vector<std::string> names{"Zonguldak", "Ünye",  "uşak",  "Şile",  "Sivas",   "Ordu",
                                   "Ödemiş",    "İzmir", "Iğdır", "Hatay", "Ğ",       "Gaziantep",
                                   "Çorum",     "cide",  "Ağrı",  "Adana", "10. Yıl", "ankara"};
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return TurkishCompare(a, b) < 0; });
    EXPECT_EQ(names, (std::vector<std::string>{"10. Yıl", "Adana", "Ağrı", "ankara", "cide", "Çorum", "Gaziantep", "Ğ",
                                               "Hatay", "Iğdır", "İzmir", "Ordu", "Ödemiş", "Sivas", "Şile", "uşak",
                                               "Ünye", "Zonguldak"}));
}

TEST(TurkishOrder, NameKeysPairEveryCaseOfALetter) {
    EXPECT_EQ(NameFoldKey("ANKARA"), NameFoldKey("Ankara"));
    EXPECT_EQ(NameFoldKey("IĞDIR"), NameFoldKey("ığdır"));
    EXPECT_EQ(NameFoldKey("İZMİR"), NameFoldKey("izmir"));
    EXPECT_EQ(NameFoldKey("ÇORUM ŞİLE ÜNYE ÖDEMİŞ"), NameFoldKey("çorum şile ünye ödemiş"));
    EXPECT_NE(NameFoldKey("Cide"), NameFoldKey("Çide"));
}

}  // namespace
}  // namespace nimbo
