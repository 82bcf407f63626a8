// The shown texts: each value's format, the information text's lines and trimming, and the tray hint.
#include "widget/face/value_format.h"

#include <gtest/gtest.h>

namespace nimbo::testing {
namespace {

TEST(PlaceText, NamesThePlaceOrWhatTheConnectionIsDoing) {
    WeatherData weather;
    weather.City = "İstanbul";
    EXPECT_EQ(PlaceText(ConnectionState::Succeeded, weather), "İstanbul");
    EXPECT_EQ(PlaceText(ConnectionState::Outstanding, weather), "Bağlantı kuruluyor...");
    EXPECT_EQ(PlaceText(ConnectionState::Failed, weather), "Bağlantı yok");
    EXPECT_EQ(PlaceText(ConnectionState::ThreadFailed, weather), "Hata: İstisnai durum oluştu.");
}

TEST(SimpleValues, TemperatureConditionAndPosition) {
    EXPECT_EQ(TemperatureText("25"), "25°");
    EXPECT_EQ(TemperatureText("-3"), "-3°");
    EXPECT_EQ(TemperatureText(""), "");

    const struct {
        const char* code;
        const char* text;
    } conditions[] = {
        {"32", "Açık"},       {"0", "Gök gürültülü"}, {"36", "Çok Sıcak"},
        {"49", "Bilinmiyor"}, {"3200", "Bilinmiyor"}, {"50", "Bilinmiyor"},
        {"-1", "Bilinmiyor"}, {"abc", "Bilinmiyor"},  {"", ""},
    };
    for (const auto& c : conditions) EXPECT_EQ(TurkishConditionText(c.code), c.text) << c.code;

    EXPECT_EQ(PositionLine("41.01", "28.97"), "E: 41.01°, B: 28.97°");
    EXPECT_EQ(PositionLine("", "28.97"), "");
    EXPECT_EQ(PositionLine("41.01", ""), "");
}

TEST(Wind, DirectionSectorsAndTheWindLine) {
    const struct {
        const char* degrees;
        const char* word;
    } sectors[] = {
        {"0", "Kuzey"},
        {"23", "Kuzey"},
        {"24", "Kuzey Doğu"},
        {"68", "Kuzey Doğu"},
        {"69", "Doğu"},
        {"113", "Doğu"},
        {"114", "Güney Doğu"},
        {"158", "Güney Doğu"},
        {"159", "Güney"},
        {"203", "Güney"},
        {"204", "Güney Batı"},
        {"248", "Güney Batı"},
        {"249", "Batı"},
        {"293", "Batı"},
        {"294", "Kuzey Batı"},
        {"338", "Kuzey Batı"},
        {"339", "Kuzey"},
        {"360", "Kuzey"},
        {"1000", "Kuzey"},
        {"-1", ""},
        {"abc", ""},
        {"22.5", ""},
        {"", ""},
    };
    for (const auto& s : sectors) EXPECT_EQ(WindDirectionWord(s.degrees), s.word) << s.degrees;

    const struct {
        const char* direction;
        const char* speed;
        const char* line;
    } lines[] = {
        {"280", "16.09", "Rüzgar: Batı, 16.09 km/s"},
        {"abc", "10", "Rüzgar: , 10 km/s"},
        {"0", "0", "Rüzgar: Yok"},
        {"0", "0.0", "Rüzgar: Kuzey, 0.0 km/s"},
        {"", "10", ""},
        {"280", "", ""},
    };
    for (const auto& l : lines) EXPECT_EQ(WindLine(l.direction, l.speed), l.line) << l.direction << " " << l.speed;
}

TEST(Visibility, CommaDecimalsUpTo320KilometresThenUnlimited) {
    const struct {
        const char* visibility;
        const char* text;
    } cases[] = {
        {"16.09", "16,09 km"},
        {"0", "0,00 km"},
        {"319.99", "319,99 km"},
        {"320", "Sınırsız"},
        {"1609", "Sınırsız"},
        {"1,609", "Sınırsız"},
        {"6.21", "6,21 km"},
        {"10", "10,00 km"},
        {"25.91", "25,91 km"},
        {"0.125", "0,13 km"},
        {"0.005", "0,00 km"},
        {"319.999", "320,00 km"},
        {"319.9999999", "Sınırsız"},  // rounds to 320 in single precision
        {"1e300", "Sınırsız"},
        {"", ""},
        {"-1", ""},
        {"abc", ""},
        {"-0.5", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(VisibilityText(c.visibility), c.text) << c.visibility;
}

TEST(SunLine, FeedTimesInTheTurkishShortTimeFormat) {
    EXPECT_EQ(SunLine("5:50 am", "8:51 pm"), "GD: 05:50, GB: 20:51");
    EXPECT_EQ(SunLine("5:9 am", "12:05 pm"), "GD: 05:09, GB: 12:05");
    // A sunset before the sunrise is the next day's; the poles get words instead of times.
    EXPECT_EQ(SunLine("03:07 AM", "12:00 am"), "GD: 03:07, GB: 00:00 (ertesi gün)");
    EXPECT_EQ(SunLine("2:55 am", "12:04 am"), "GD: 02:55, GB: 00:04 (ertesi gün)");
    EXPECT_EQ(SunLine("12:00 am", "24:00"), "Güneş bugün batmıyor");
    EXPECT_EQ(SunLine("12:00 am", "12:00 am"), "Güneş bugün doğmuyor");
    EXPECT_EQ(SunLine("1:00 am", "24:00"), "GD: 01:00, GB: 24:00");
    EXPECT_EQ(SunLine("", "8:51 pm"), "");
    EXPECT_EQ(SunLine("5:50 am", ""), "");
    EXPECT_EQ(SunLine("sabah", "8:51 pm"), "");  // a time that cannot be read leaves the line out
}

TEST(IpText, AddressSearchingOrThePlaceText) {
    WeatherData weather;
    weather.City = "Ankara";
    EXPECT_EQ(IpText(ConnectionState::Succeeded, weather), "Araştırılıyor...");
    weather.IPAddress = "203.0.113.7";
    EXPECT_EQ(IpText(ConnectionState::Succeeded, weather), "203.0.113.7");
    EXPECT_EQ(IpText(ConnectionState::Failed, weather), "Bağlantı yok");
    EXPECT_EQ(IpText(ConnectionState::Outstanding, weather), "Bağlantı kuruluyor...");
}

WidgetSettings NothingShown() {
    WidgetSettings s;
    s.showWeatherText = s.showSunInfo = s.showSituation = s.showWind = s.showHumidity = s.showVisibility = s.showChill =
        s.showDate = s.showHijri = s.showIP = false;
    return s;
}

WeatherData FullWeather() {
    WeatherData w;
    w.City = "İstanbul";
    w.ConditionCode = "32";
    w.Temperature = "25";
    w.Sunrise = "5:50 am";
    w.Sunset = "8:51 pm";
    w.Latitude = "41.01";
    w.Longitude = "28.97";
    w.WindDirection = "24";
    w.WindSpeed = "10";
    w.Humidity = "65";
    w.Visibility = "16.09";
    w.WindChill = "23";
    w.DateText = "8 Aralık 2026 Salı";
    w.HijriDateText = "28 Cemâziye'l-âhir 1448";
    w.IPAddress = "203.0.113.7";
    return w;
}

TEST(InformationText, EachChosenLineInItsOrderWithoutTheLastLineBreak) {
    WidgetSettings all = NothingShown();
    all.showWeatherText = all.showSunInfo = all.showSituation = all.showWind = all.showHumidity = all.showVisibility =
        all.showChill = all.showDate = all.showHijri = all.showIP = true;
    EXPECT_EQ(InformationText(ConnectionState::Succeeded, FullWeather(), all),
              "Açık\r\n"
              "GD: 05:50, GB: 20:51\r\n"
              "E: 41.01°, B: 28.97°\r\n"
              "Rüzgar: Kuzey Doğu, 10 km/s\r\n"
              "Nem oranı: %65\r\n"
              "Görüş mesafesi: 16,09 km\r\n"
              "Hissedilen sıcaklık: 23°\r\n"
              "8 Aralık 2026 Salı\r\n"
              "28 Cemâziye'l-âhir 1448\r\n"
              "IP: 203.0.113.7");

    // Lines whose value is empty are left out, settings on or not.
    EXPECT_EQ(InformationText(ConnectionState::Succeeded, WeatherData{}, all), "IP: Araştırılıyor...");
}

TEST(InformationText, SingleLinesAndNone) {
    const WeatherData weather = FullWeather();
    EXPECT_EQ(InformationText(ConnectionState::Succeeded, weather, NothingShown()), "");

    WidgetSettings humidity = NothingShown();
    humidity.showHumidity = true;
    EXPECT_EQ(InformationText(ConnectionState::Succeeded, weather, humidity), "Nem oranı: %65");

    WidgetSettings ip = NothingShown();
    ip.showIP = true;
    WeatherData noAddress = weather;
    noAddress.IPAddress.clear();
    EXPECT_EQ(InformationText(ConnectionState::Succeeded, noAddress, ip), "IP: Araştırılıyor...");
    EXPECT_EQ(InformationText(ConnectionState::Failed, weather, ip), "IP: Bağlantı yok");

    // A Hijri line that could not be made is simply missing.
    WidgetSettings dates = NothingShown();
    dates.showDate = dates.showHijri = true;
    WeatherData noHijri = weather;
    noHijri.HijriDateText.clear();
    EXPECT_EQ(InformationText(ConnectionState::Succeeded, noHijri, dates), "8 Aralık 2026 Salı");
}

TEST(TrayHint, PlaceConditionAndTemperatureWhenKnown) {
    WeatherData weather;
    weather.City = "İstanbul";
    weather.ConditionCode = "32";
    weather.Temperature = "25";
    EXPECT_EQ(TrayHint(ConnectionState::Succeeded, weather), "Nimbo! - İstanbul, Açık, 25°");
    EXPECT_EQ(TrayHint(ConnectionState::Succeeded, WeatherData{}), "Nimbo!");
    EXPECT_EQ(TrayHint(ConnectionState::Outstanding, weather), "Nimbo! - Bağlantı kuruluyor...");
    EXPECT_EQ(TrayHint(ConnectionState::ThreadFailed, weather), "Nimbo! - Hata: İstisnai durum oluştu.");

    WeatherData placeOnly;
    placeOnly.City = "Van";
    EXPECT_EQ(TrayHint(ConnectionState::Succeeded, placeOnly), "Nimbo! - Van");
    WeatherData noPlace = weather;
    noPlace.City.clear();
    EXPECT_EQ(TrayHint(ConnectionState::Succeeded, noPlace), "Nimbo! - Açık, 25°");
}

}  // namespace
}  // namespace nimbo::testing
