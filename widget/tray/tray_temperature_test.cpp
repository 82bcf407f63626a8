// The tray icon's digits: rounding, what fits, and when the application's icon shows instead.
#include "widget/tray/tray_temperature.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(TrayTemperature, DigitsAreTheRoundedTemperatureWhenTheyFit) {
    const std::pair<const char*, const char*> cases[] = {
        {"6", "6"},    {"-12", "-12"}, {"38", "38"},   {"104", "104"}, {"0", "0"},
        {"-0.4", "0"}, {"6.5", "7"},   {"-99", "-99"}, {"999", "999"}, {"-100", ""},
        {"1000", ""},  {"", ""},       {"abc", ""},    {"1e308", ""},  {"nan", ""},
    };
    for (const auto& [temperature, digits] : cases) {
        EXPECT_EQ(TrayTemperatureDigits(temperature), digits) << temperature;
    }
}

TEST(TrayTemperature, TheIconShowsDigitsOnlyWhenSwitchedOnConnectedAndKnown) {
    WeatherData weather;
    weather.Temperature = "-12";
    EXPECT_EQ(ChooseTrayIconFace(true, ConnectionState::Succeeded, weather, false), (TrayIconFace{"-12", false}));
    EXPECT_EQ(ChooseTrayIconFace(true, ConnectionState::Succeeded, weather, true), (TrayIconFace{"-12", true}));
    for (const ConnectionState state :
         {ConnectionState::Outstanding, ConnectionState::Failed, ConnectionState::ThreadFailed}) {
        EXPECT_EQ(ChooseTrayIconFace(true, state, weather, true), TrayIconFace{});
    }
    EXPECT_EQ(ChooseTrayIconFace(false, ConnectionState::Succeeded, weather, false), TrayIconFace{});
    weather.Temperature.clear();
    EXPECT_EQ(ChooseTrayIconFace(true, ConnectionState::Succeeded, weather, true), TrayIconFace{});
}

}  // namespace
}  // namespace nimbo
