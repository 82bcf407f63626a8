// The main window's spoken summary: what the face shows, in one Turkish sentence or two.
#include "widget/face/spoken_summary.h"

#include <gtest/gtest.h>

#include "tests/support/system_time_at.h"

namespace nimbo {
namespace {

using testing::At;

WeatherData Istanbul() {
    WeatherData w;
    w.City = "İstanbul";
    w.Temperature = "6";
    w.ConditionCode = "11";
    const char* days[] = {"Tue", "Wed", "Thu", "Fri", "Sat"};
    for (size_t i = 0; i < kForecastDays; ++i) {
        w.Forecast[i].Day = days[i];
        w.Forecast[i].Date = std::to_string(8 + i) + " Dec 2026";
        w.Forecast[i].High = std::to_string(8 + i);
        w.Forecast[i].Low = std::to_string(2 + i);
        w.Forecast[i].Code = std::to_string(28 + 2 * i);
    }
    return w;
}

TEST(SpokenSummary, SaysTheWeatherNowAndTomorrow) {
    struct Case {
        const char* what;
        ConnectionState state;
        void (*change)(WeatherData&);
        SystemTime today;
        const char* expected;
    };
    const Case cases[] = {
        {"a feed", ConnectionState::Succeeded, [](WeatherData&) {}, At(2026, 12, 8, 10),
         "Nimbo! İstanbul, 6°, Yağışlı. Yarın 9° / 3°, Parçalı Bulutlu."},
        {"a feed of yesterday: tomorrow is its third day", ConnectionState::Succeeded, [](WeatherData&) {},
         At(2026, 12, 9, 10), "Nimbo! İstanbul, 6°, Yağışlı. Yarın 10° / 4°, Açık."},
        {"no low, no code tomorrow", ConnectionState::Succeeded,
         [](WeatherData& w) { w.Forecast[1].Low.clear(), w.Forecast[1].Code.clear(); }, At(2026, 12, 8, 10),
         "Nimbo! İstanbul, 6°, Yağışlı. Yarın 9°."},
        {"only tomorrow's condition", ConnectionState::Succeeded,
         [](WeatherData& w) { w.Forecast[1].Low.clear(), w.Forecast[1].High.clear(); }, At(2026, 12, 8, 10),
         "Nimbo! İstanbul, 6°, Yağışlı. Yarın Parçalı Bulutlu."},
        {"no temperature now", ConnectionState::Succeeded, [](WeatherData& w) { w.Temperature.clear(); },
         At(2026, 12, 8, 10), "Nimbo! İstanbul, Yağışlı. Yarın 9° / 3°, Parçalı Bulutlu."},
        {"nothing known yet", ConnectionState::Succeeded, [](WeatherData& w) { w = WeatherData(); },
         At(2026, 12, 8, 10), "Nimbo!"},
        {"no connection, old weather kept", ConnectionState::Failed, [](WeatherData&) {}, At(2026, 12, 8, 10),
         "Nimbo! Bağlantı yok."},
        {"connecting", ConnectionState::Outstanding, [](WeatherData&) {}, At(2026, 12, 8, 10),
         "Nimbo! Bağlantı kuruluyor..."},
    };
    for (const Case& c : cases) {
        WeatherData weather = Istanbul();
        c.change(weather);
        EXPECT_EQ(SpokenSummary(c.state, weather, c.today), c.expected) << c.what;
    }
}

TEST(SpokenSummary, LinesBecomeSentences) {
    const std::pair<const char*, const char*> cases[] = {
        {"IP: 192.0.2.1\r\nGD: 07:14, GB: 16:37\r\n\r\nNem: %80", "IP: 192.0.2.1. GD: 07:14, GB: 16:37. Nem: %80"},
        {"Birinci cümle.\nİkinci satır\n", "Birinci cümle. İkinci satır"},
        {"Başlık:\n  girintili  ", "Başlık: girintili"},
        {"Hava durumu: Open-Meteo,\nkoşullarıyla.", "Hava durumu: Open-Meteo, koşullarıyla."},
        {"", ""},
        {"\r\n\r\n", ""},
    };
    for (const auto& [text, spoken] : cases) EXPECT_EQ(SpokenLines(text), spoken) << text;
}

}  // namespace
}  // namespace nimbo
