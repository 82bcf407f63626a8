// The options dialog's rules: defaults, page choice, the opacity check, enabling, the picked place and saving.
#include "widget/config/options_model.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"
#include "widget/settings_text.h"

namespace nimbo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(OptionsModel, MissingKeysShowTheDialogsDefaultsAndBadIndexesNoSelection) {
    TempFolder folder;
    IniFile empty(folder.File("none.ini"));
    const OptionValues v = LoadOptionValues(empty);
    EXPECT_EQ(v.updatePeriod, 0);
    EXPECT_EQ(v.glassOpacity, 240);
    EXPECT_EQ(v.background, 2);
    EXPECT_EQ(v.backColor, 8421504u);
    EXPECT_TRUE(v.startup && v.desktop && v.quickLaunch && v.showTrayIcon && v.autoUpdate && v.fadeEffect);
    EXPECT_TRUE(v.checkNewVersion && v.showInfoText && v.showWeatherText && v.showIP);
    EXPECT_FALSE(v.alwaysTop || v.glassEffect || v.showSunInfo || v.showChill);
    EXPECT_EQ(v.tempFontName, "Arial");

    WriteBytes(folder.File("bad.ini"),
               "[General]\r\nUpdatePeriod=7\r\n[Appearance]\r\nBackground=-1\r\n"
               "GlassOpacity=300\r\n");
    IniFile bad(folder.File("bad.ini"));
    const OptionValues b = LoadOptionValues(bad);
    EXPECT_EQ(b.updatePeriod, -1);
    EXPECT_EQ(b.background, -1);
    EXPECT_EQ(b.glassOpacity, 44);
}

TEST(OptionsModel, ThePageIsTheCallersOrTheStoredOne) {
    struct Case {
        int requested, stored, shown;
    };
    for (const Case c : {Case{-1, 1, 1}, Case{2, 0, 2}, Case{-1, 7, 0}, Case{3, 2, 2}, Case{0, 2, 0}}) {
        EXPECT_EQ(InitialOptionsPage(c.requested, c.stored), c.shown) << c.requested << " " << c.stored;
    }
}

TEST(OptionsModel, OpacityMustBeANumberFrom0To255) {
    for (const char* bad : {"256", "-1", "abc", "", "12a", "99999999999"}) EXPECT_FALSE(ParseOpacity(bad)) << bad;
    EXPECT_EQ(ParseOpacity("0"), 0);
    EXPECT_EQ(ParseOpacity("255"), 255);
    EXPECT_EQ(ParseOpacity(" 12"), 12);
    EXPECT_EQ(OpacityMessage(), "Saydamlık 0-255 arasında olmalıdır");
}

TEST(OptionsModel, EnablingRules) {
    struct Case {
        bool autoUpdate;
        int background;
        bool glass, info;
        AppearanceEnabling expected;
    };
    for (const Case c : {Case{true, 2, true, true, {true, false, false, true}},
                         Case{false, 4, false, false, {false, true, false, false}},
                         Case{true, 4, true, true, {true, true, true, true}},
                         Case{true, -1, true, true, {true, false, false, true}}}) {
        const auto e = ApplyEnablingRules(c.autoUpdate, c.background, c.glass, c.info);
        EXPECT_EQ((std::array{e.period, e.colourPanel, e.opacity, e.infoLines}),
                  (std::array{c.expected.period, c.expected.colourPanel, c.expected.opacity, c.expected.infoLines}));
    }
    using M = SelectionMode;
    const auto all = [](const PlaceEnabling& e) {
        return std::array{e.cityList, e.addCity, e.search, e.searchButton, e.addResult, e.favorites, e.removeButtons};
    };
    EXPECT_EQ(all(ApplySelectionMode(M::Turkey, false, true, true, true)),
              (std::array{true, false, false, false, false, false, false}));
    EXPECT_EQ(all(ApplySelectionMode(M::Turkey, true, true, true, true)),
              (std::array{true, true, false, false, false, false, false}));
    EXPECT_EQ(all(ApplySelectionMode(M::Search, true, false, true, true)),
              (std::array{false, false, true, false, true, false, false}));
    EXPECT_EQ(all(ApplySelectionMode(M::Search, true, true, false, true)),
              (std::array{false, false, true, true, false, false, false}));
    EXPECT_EQ(all(ApplySelectionMode(M::Favorites, true, true, true, true)),
              (std::array{false, false, false, false, false, true, true}));
}

TEST(OptionsModel, ThePickedPlaceComesFromTheSelectedModesList) {
    const Place city{"İzmir", "311046"}, result{"Paris, France", "2988507"}, favorite{"Ankara", "323786"};
    using M = SelectionMode;
    EXPECT_EQ(PickedPlace(true, M::Turkey, city, result, favorite), city);
    EXPECT_EQ(PickedPlace(true, M::Search, city, result, favorite), result);
    EXPECT_EQ(PickedPlace(true, M::Favorites, city, result, favorite), favorite);
    EXPECT_FALSE(PickedPlace(false, M::Turkey, city, result, favorite));
    // A city picked, then the favourites mode chosen with nothing selected: the place stays.
    EXPECT_FALSE(PickedPlace(true, M::Favorites, city, result, std::nullopt));
    EXPECT_FALSE(PickedPlace(true, M::Search, city, Place{"X", ""}, favorite));
}

TEST(OptionsModel, SavingWritesBackWhatWasLoadedAndOnlyAPickedPlace) {
    TempFolder folder;
    const std::string path = folder.File("Options.ini");
    WriteBytes(path,
               "[Location]\r\nCityName=Istanbul\r\nCityID=TUXX0014\r\n[Appearance]\r\nBackground=2\r\n"
               "BackColor=255\r\nGlassEffect=1\r\nGlassOpacity=77\r\n[Favorites]\r\nzeta=1\r\nAlfa=2\r\n");
    IniFile file(path);
    FavoriteList favorites;
    favorites.Load(file.ReadSectionValues("Favorites"));
    const OptionValues loaded = LoadOptionValues(file);
    SaveOptionValues(file, loaded, std::nullopt, favorites);
    EXPECT_EQ(LoadOptionValues(file).backColor, 255u);
    EXPECT_EQ(file.ReadString("Appearance", "GlassEffect", ""), "1");
    EXPECT_EQ(file.ReadString("Appearance", "GlassOpacity", ""), "77");
    EXPECT_EQ(file.ReadString("Location", "CityID", ""), "TUXX0014");
    // An unedited favourites list is not rewritten, so its order in the file stays.
    EXPECT_EQ(file.ReadSection("Favorites"), (std::vector<std::string>{"zeta", "Alfa"}));

    SaveOptionValues(file, loaded, Place{"İzmir", "311046"}, favorites);
    EXPECT_EQ(file.ReadString("Location", "CityName", ""), "İzmir");
    EXPECT_EQ(file.ReadString("Location", "CityID", ""), "311046");
    EXPECT_NE(ReadBytes(path).find(EncodeSettingsFile("CityName=İzmir\r\n").substr(2)), std::string::npos);
}

}  // namespace
}  // namespace nimbo
