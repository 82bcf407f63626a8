// The code table: WMO code, the feed's day and night codes, and the feed's English text for each.
#include "service/forecast/weather_codes.h"

#include <iterator>

namespace nimbo::service {
namespace {

struct Row {
    int wmo;
    int day;
    int night;
    const char* dayText;
    const char* nightText;
};

constexpr Row kRows[] = {
    {0, 32, 31, "Sunny", "Clear"},
    {1, 34, 33, "Fair", "Fair"},
    {2, 30, 29, "Partly Cloudy", "Partly Cloudy"},
    {3, 26, 26, "Cloudy", "Cloudy"},
    {45, 20, 20, "Foggy", "Foggy"},
    {48, 20, 20, "Foggy", "Foggy"},
    {51, 9, 9, "Drizzle", "Drizzle"},
    {53, 9, 9, "Drizzle", "Drizzle"},
    {55, 9, 9, "Drizzle", "Drizzle"},
    {56, 8, 8, "Freezing Drizzle", "Freezing Drizzle"},
    {57, 8, 8, "Freezing Drizzle", "Freezing Drizzle"},
    {61, 11, 11, "Showers", "Showers"},
    {63, 12, 12, "Showers", "Showers"},
    {65, 12, 12, "Showers", "Showers"},
    {66, 10, 10, "Freezing Rain", "Freezing Rain"},
    {67, 10, 10, "Freezing Rain", "Freezing Rain"},
    {71, 14, 14, "Light Snow Showers", "Light Snow Showers"},
    {73, 16, 16, "Snow", "Snow"},
    {75, 41, 41, "Heavy Snow", "Heavy Snow"},
    {77, 13, 13, "Snow Flurries", "Snow Flurries"},
    {80, 40, 40, "Scattered Showers", "Scattered Showers"},
    {81, 11, 11, "Showers", "Showers"},
    {82, 12, 12, "Showers", "Showers"},
    {85, 46, 46, "Snow Showers", "Snow Showers"},
    {86, 41, 41, "Heavy Snow", "Heavy Snow"},
    {95, 4, 4, "Thunderstorms", "Thunderstorms"},
    {96, 4, 4, "Thunderstorms", "Thunderstorms"},
    {99, 3, 3, "Severe Thunderstorms", "Severe Thunderstorms"},
};

}  // namespace

FeedCondition ConditionForWmoCode(std::optional<int> wmo, bool night) {
    if (!wmo) return {};
    for (const Row& row : kRows) {
        if (row.wmo == *wmo)
            return night ? FeedCondition{row.night, row.nightText} : FeedCondition{row.day, row.dayText};
    }
    return {};
}

}  // namespace nimbo::service
