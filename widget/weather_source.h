// Where one refresh gets its feed: the feed server (one download), or in direct mode Open-Meteo (a
// geocoding look-up the first time a place is seen, then the forecast, converted into the feed's text).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "widget/geocoding.h"
#include "widget/server_config.h"
#include "widget/settings_file.h"
#include "widget/weather_data.h"

namespace nimbo {

// Open-Meteo's forecast answer (JSON) to the feed's text for `place`; no value when the answer cannot be
// read. `unit` is the feed's unit letter.
using FeedConversion = std::function<std::optional<std::string>(const std::string& forecastJson, const GeoPlace& place,
                                                                const std::string& unit)>;

// The forecast request for a place, as the data service asks it: current conditions and the daily outlook
// in the place's own time, in metric units whatever the feed's unit.
std::string ForecastUrl(const std::string& forecastBase, const Coordinates& at);

// One refresh's downloads, decided here and made by the download thread: the caller downloads Url(), hands
// the result to Advance, and repeats while Advance asks for more.
class WeatherFetch {
public:
    // `feedPath` is the feed's path on the feed server (FeedAddress). The settings remember the
    // coordinates a look-up found; `weather` names the place (CityID, and City for its name).
    WeatherFetch(const ServerAddresses& servers, SettingsFile& settings, const WeatherData& weather,
                 const std::string& feedPath, FeedConversion convert);

    // The address to download now. Empty when the place cannot be asked for (no GeoNames id in direct mode):
    // the download then fails like one whose address cannot be opened.
    const std::string& Url() const { return m_url; }

    // The download of Url() ended with `resultCode` (0 or -1) and `bytes`. True when another download follows
    // (Url() names it); false when the fetch is over, and ResultCode and FeedBytes hold its end.
    bool Advance(int32_t resultCode, const std::string& bytes);

    // 0 with the feed's bytes, or -1 with none: a failed download, look-up or conversion.
    int32_t ResultCode() const { return m_resultCode; }
    const std::string& FeedBytes() const { return m_feed; }

private:
    enum class Stage { Feed, Place, Forecast };

    void AskForecast();
    bool Finish(int32_t resultCode, std::string feed);

    const ServerAddresses& m_servers;
    SettingsFile& m_settings;
    std::string m_unit;
    FeedConversion m_convert;
    Stage m_stage = Stage::Feed;
    GeoPlace m_place;
    std::string m_url;
    int32_t m_resultCode = -1;
    std::string m_feed;
};

}  // namespace nimbo
