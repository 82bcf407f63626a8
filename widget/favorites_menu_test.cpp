// The favourites submenus sort as a Turkish reader expects and show every name as written.
#include "widget/favorites_menu.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(FavoritesMenu, LinesSortCaseInsensitivelyInTurkishAlphabeticalOrder) {
    const KeyValueList favorites = {{"izmir", "TUXX0015"},     {"Çorum", "TUXX0050"},  {"Iğdır", "TUXX0060"},
                                    {"Zonguldak", "TUXX0070"}, {"corlu", "TUXX0080"},  {"Şile", "TUXX0090"},
                                    {"sinop", "TUXX0091"},     {"Ankara", "TUXX0002"}, {"Ağrı", "TUXX0003"},
                                    {"İstanbul", "TUXX0014"}};
    const std::vector<std::string> expected = {
        "Ağrı=TUXX0003",     "Ankara=TUXX0002", "corlu=TUXX0080", "Çorum=TUXX0050", "Iğdır=TUXX0060",
        "İstanbul=TUXX0014", "izmir=TUXX0015",  "sinop=TUXX0091", "Şile=TUXX0090",  "Zonguldak=TUXX0070"};
    EXPECT_EQ(FavoriteMenuList(favorites), expected);
    EXPECT_TRUE(FavoriteMenuList({}).empty());
    // A name that is the start of another comes first; case alone decides nothing.
    EXPECT_TRUE(TurkishLessNoCase("Van", "Vanadis"));
    EXPECT_FALSE(TurkishLessNoCase("VAN", "van"));
    EXPECT_FALSE(TurkishLessNoCase("van", "VAN"));
}

TEST(FavoritesMenu, NamesAndCaptionsKeepWhatWasWritten) {
    EXPECT_EQ(FavoriteName("Ağrı=TUXX0003"), "Ağrı");
    EXPECT_EQ(FavoriteName("a=b=c"), "a");
    EXPECT_EQ(FavoriteName("no value"), "no value");
    EXPECT_EQ(MenuCaptionOf("Kars & Ardahan"), "Kars && Ardahan");
    EXPECT_EQ(MenuCaptionOf("&&"), "&&&&");
    EXPECT_EQ(MenuCaptionOf("Muş"), "Muş");
}

}  // namespace
}  // namespace nimbo
