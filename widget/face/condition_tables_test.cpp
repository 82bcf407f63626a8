// The tables' rows that the face depends on, and the day-name translation.
#include "widget/face/condition_tables.h"

#include <gtest/gtest.h>

#include <string>

namespace nimbo::testing {
namespace {

TEST(ConditionTables, RowsCarryTheirPictureSkyTextAndForecastPicture) {
    const struct {
        int row;
        std::string picture;
        int sky;
        std::string text;
        std::string forecast;
    } cases[] = {
        {0, "Thunderstorms", 0, "Gök gürültülü", "Thunderstorms"},
        {13, "Flurries", 0, "Sert Rüzgarlı", "Flurries"},
        {18, "Hail", 0, "Don", "Hail"},
        {19, "Haze", 1, "Hafif Sisli", "Sun Haze"},  // the set has no small "Haze"
        {26, "Many Clouds", 0, "Çok Bulutlu", "Clouds"},
        {29, "Clouds", 1, "Parçalı Bulutlu", "Moon And Clouds"},
        {31, "None", 1, "Açık", "Moon"},
        {32, "None", 1, "Açık", "Sun"},
        {36, "None", 1, "Çok Sıcak", "Sun"},
        {44, "Few Clouds", 1, "Parçalı Bulutlu", "Sun Few Clouds"},
        {45, "Showers", 1, "Yağmurlu", "Moon And Rain"},
        {48, "Rain", 1, "Yağmurlu", "Sun And Rain"},
        {49, "None", 1, "Bilinmiyor", "Blinmiyor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(WeatherIcons[c.row].pictureName, c.picture);
        EXPECT_EQ(WeatherIcons[c.row].skyFlag, c.sky);
        EXPECT_EQ(WeatherIcons[c.row].text, c.text);
        EXPECT_EQ(ForecastIconNames[c.row], c.forecast);
    }
}

TEST(ConditionTables, PictureNamesDifferOnlyWhereTheSmallPictureCarriesSunOrMoon) {
    for (int row = 0; row < 50; ++row) {
        const bool differs = std::string(WeatherIcons[row].pictureName) != ForecastIconNames[row];
        const bool expected = (row >= 26 && row <= 34) || (row >= 36 && row <= 39) || row == 44 || row == 45 ||
                              row == 48 || row == 49 || row == 19 || row == 21 || row == 22;
        EXPECT_EQ(differs, expected) << "row " << row;
    }
}

TEST(ConditionTables, RowsOutsideTheTableAreTheUnknownRow) {
    for (int n : {-1, 50, 3200}) EXPECT_EQ(&WeatherIconRow(n), &WeatherIcons[49]) << n;
    EXPECT_EQ(&WeatherIconRow(0), &WeatherIcons[0]);
    EXPECT_EQ(&WeatherIconRow(49), &WeatherIcons[49]);
}

TEST(MoonPhaseNames, FollowTheMoonsAgeInDays) {
    const struct {
        int first, last;
        std::string turkish, english;
    } ages[] = {
        {0, 1, "Yeni Ay", "New Moon"},          {2, 5, "İlk Hilâl", "Waxing Crescent"},
        {6, 8, "İlk Dördün", "First Quarter"},  {9, 13, "İkinci Dördün", "Waxing Gibbous"},
        {14, 15, "Dolunay", "Full Moon"},       {16, 19, "Üçüncü Dördün", "Waning Gibbous"},
        {20, 22, "Son Dördün", "Last Quarter"}, {23, 26, "Son Hilâl", "Waning Crescent"},
        {27, 27, "Yeni Ay", "New Moon"},
    };
    int covered = 0;
    for (const auto& a : ages) {
        for (int day = a.first; day <= a.last; ++day, ++covered) {
            EXPECT_EQ(MoonPhaseNames[day], a.turkish) << day;
            EXPECT_EQ(MoonPhaseNamesEn[day], a.english) << day;
            EXPECT_EQ(MoonPhaseName(day), a.turkish) << day;
        }
    }
    EXPECT_EQ(covered, 28);
    EXPECT_EQ(std::string(MoonPhaseName(28)), "Yeni Ay");
}

TEST(TranslateDayName, MatchesEnglishAbbreviationsInAnyCase) {
    const struct {
        const char* english;
        const char* turkish;
    } cases[] = {
        {"Mon", "PZT"},
        {"mon", "PZT"},
        {"MON", "PZT"},
        {"Sun", "PAZ"},
        {"tue", "SAL"},
        {"Wed", "ÇRŞ"},
        {"THU", "PRŞ"},
        {"Fri", "CUM"},
        {"sAt", "CMT"},
        // Not an abbreviation: shown as the feed sent it.
        {"Monday", "Monday"},
        {"", ""},
        {"Pzt", "Pzt"},
    };
    for (const auto& c : cases) EXPECT_EQ(TranslateDayName(c.english), c.turkish) << c.english;
}

}  // namespace
}  // namespace nimbo::testing
