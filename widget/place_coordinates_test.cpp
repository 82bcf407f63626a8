// Coordinates: their text in Options.ini, and where a place's come from.
#include "widget/place_coordinates.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"
#include "widget/settings_text.h"

namespace nimbo {
namespace {

TEST(PlaceCoordinates, TextRoundTripsAndOnlyCoordinatesInRangeAreRead) {
    EXPECT_EQ(FormatCoordinates({41.01384, 28.94966}), "41.01384,28.94966");
    EXPECT_EQ(FormatCoordinates({-33.86785, 151.2}), "-33.86785,151.20000");
    const auto read = ParseCoordinates(" 41.01384 , +28.94966");
    ASSERT_TRUE(read);
    EXPECT_DOUBLE_EQ(read->latitude, 41.01384);
    EXPECT_DOUBLE_EQ(read->longitude, 28.94966);
    for (const char* bad : {"", "41.0", "41.0;29.0", "91,0", "0,180.5", "x,1", "1,2,3", "nan,1", "1e999,1", "41.0,"}) {
        EXPECT_FALSE(ParseCoordinates(bad)) << bad;
    }
}

TEST(PlaceCoordinates, GeoNamesIdsAreShortPositiveNumbers) {
    for (const char* id : {"745044", "1", "999999999"}) EXPECT_TRUE(IsGeoNamesId(id)) << id;
    for (const char* id : {"", "0", "0745044", "1000000000", "TUXX0014", "74 5044", "-5", "745044/../x"}) {
        EXPECT_FALSE(IsGeoNamesId(id)) << id;
    }
}

TEST(PlaceCoordinates, KnownPlacesNeedNoSettingsAndOthersAreRememberedInTheirOwnSection) {
    testing::TempFolder folder;
    const std::string path = folder.File("Options.ini");
    {
        IniFile settings(path);
        const auto istanbul = PlaceCoordinates(settings, "TUXX0014");
        ASSERT_TRUE(istanbul);
        EXPECT_NEAR(istanbul->latitude, 41.0, 0.1);
        ASSERT_TRUE(PlaceCoordinates(settings, "323786"));  // Ankara's seat, by its GeoNames id
        EXPECT_FALSE(PlaceCoordinates(settings, "2950159"));
        RememberCoordinates(settings, "2950159", {52.52437, 13.41053});
        RememberCoordinates(settings, "TUXX9999", {1, 2});
    }
    EXPECT_EQ(testing::ReadBytes(path), EncodeSettingsFile("[Coordinates]\r\n2950159=52.52437,13.41053\r\n"));
    IniFile settings(path);
    const auto berlin = PlaceCoordinates(settings, "2950159");
    ASSERT_TRUE(berlin);
    EXPECT_DOUBLE_EQ(berlin->latitude, 52.52437);
    EXPECT_DOUBLE_EQ(berlin->longitude, 13.41053);
    settings.WriteString(kCoordinatesSection, "2950159", "somewhere");
    EXPECT_FALSE(PlaceCoordinates(settings, "2950159"));
}

}  // namespace
}  // namespace nimbo
