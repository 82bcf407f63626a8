// The downloads of one refresh, by mode.
#include "widget/weather_source.h"

#include "service/forecast/known_places.h"
#include "service/forecast/open_meteo_feed.h"

namespace nimbo {
namespace {

constexpr char kTurkeyName[] = "Türkiye";

}  // namespace

std::string ForecastUrl(const std::string& forecastBase, const Coordinates& at) {
    return forecastBase + "?" + service::ForecastQuery(at.latitude, at.longitude);
}

WeatherFetch::WeatherFetch(const ServerAddresses& servers, SettingsFile& settings, const WeatherData& weather,
                           const std::string& feedPath, FeedConversion convert)
    : m_servers(servers), m_settings(settings), m_unit(weather.Unit), m_convert(std::move(convert)) {
    if (!servers.Direct) {
        m_url = servers.Weather + feedPath;
        return;
    }
    // The place as the user named it ("Name, Region, Country" from a search), else as the program knows it.
    m_place = PlaceFromDisplayName(weather.City);
    m_place.id = weather.CityID;
    if (const service::KnownPlace* known = service::FindKnownPlace(weather.CityID)) {
        // The program carries Turkey's province seats, each the namesake of its province, as the data
        // service names them.
        if (m_place.name.empty()) m_place.name = known->name;
        if (m_place.region.empty()) m_place.region = m_place.name;
        if (m_place.country.empty()) m_place.country = kTurkeyName;
    }
    if (const auto at = PlaceCoordinates(settings, weather.CityID)) {
        m_place.at = *at;
        AskForecast();
    } else {
        m_stage = Stage::Place;
        m_url = GeocodingGetUrl(servers.Geocoding, weather.CityID);
    }
}

void WeatherFetch::AskForecast() {
    m_stage = Stage::Forecast;
    m_url = ForecastUrl(m_servers.Forecast, m_place.at);
}

bool WeatherFetch::Finish(int32_t resultCode, std::string feed) {
    m_resultCode = resultCode;
    m_feed = std::move(feed);
    m_url.clear();
    return false;
}

bool WeatherFetch::Advance(int32_t resultCode, const std::string& bytes) {
    if (m_stage == Stage::Feed) return Finish(resultCode, resultCode == 0 ? bytes : std::string());
    if (resultCode != 0) return Finish(-1, {});
    if (m_stage == Stage::Place) {
        auto found = ReadGeocodingPlace(bytes);
        // An answer for another place is no answer for this one.
        if (!found || found->id != m_place.id) return Finish(-1, {});
        m_place = std::move(*found);
        try {
            RememberCoordinates(m_settings, m_place.id, m_place.at);
        } catch (const SettingsWriteError&) {
            // A read-only installation still shows the weather; the look-up is repeated next time.
        }
        AskForecast();
        return true;
    }
    auto feed = m_convert ? m_convert(bytes, m_place, m_unit) : std::nullopt;
    if (!feed) return Finish(-1, {});
    return Finish(0, std::move(*feed));
}

}  // namespace nimbo
