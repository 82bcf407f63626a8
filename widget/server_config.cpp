// Server addresses from Options.ini, and the documents' full URLs on them.
#include "widget/server_config.h"

#include "widget/weather_feed.h"

namespace nimbo {
namespace {

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string ReadBase(const SettingsFile& settings, const char* key, const std::string& defaultValue) {
    std::string value = settings.ReadString(kServersSection, key, defaultValue);
    const size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return defaultValue;
    value = value.substr(first, value.find_last_not_of(" \t") - first + 1);
    // The paths that are appended start with "/".
    while (!value.empty() && value.back() == '/') value.pop_back();
    return value.empty() ? defaultValue : value;
}

}  // namespace

ServerAddresses DefaultServerAddresses() {
    ServerAddresses servers{"http://weather.yahooapis.com", "http://xoap.weather.com", "http://www.pelvar.com",
                            "http://www.pelvar.com"};
    servers.Forecast = "https://api.open-meteo.com/v1/forecast";
    servers.Geocoding = "https://geocoding-api.open-meteo.com/v1";
    return servers;
}

ServerAddresses ReadServerAddresses(const SettingsFile& settings) {
    const ServerAddresses defaults = DefaultServerAddresses();
    ServerAddresses servers;
    servers.Weather = ReadBase(settings, "Weather", defaults.Weather);
    servers.Direct = AsciiLower(servers.Weather) == kDirectWeather;
    if (servers.Direct) servers.Weather.clear();
    servers.Search = ReadBase(settings, "Search", defaults.Search);
    servers.Web = ReadBase(settings, "Web", servers.Direct ? std::string() : defaults.Web);
    servers.Address = ReadBase(settings, "Address", servers.Direct ? std::string() : defaults.Address);
    servers.Forecast = ReadBase(settings, "Forecast", defaults.Forecast);
    servers.Geocoding = ReadBase(settings, "Geocoding", defaults.Geocoding);
    return servers;
}

bool VersionCheckPossible(const ServerAddresses& servers) { return !servers.Web.empty(); }

bool AddressLookupPossible(const ServerAddresses& servers) { return !servers.Address.empty(); }

std::string FeedUrl(const ServerAddresses& servers, const WeatherData& data) {
    return servers.Weather + FeedAddress(data);
}

std::string VersionDocumentUrl(const ServerAddresses& servers) { return servers.Web + "/nimbo.xml"; }

std::string DownloadPageUrl(const ServerAddresses& servers) { return servers.Web + "/index.html#nimbonew"; }

std::string ProjectsPageUrl(const ServerAddresses& servers) {
    // Direct mode may have no web server: then there is no page, rather than a relative address.
    return servers.Web.empty() ? std::string() : servers.Web + "/projects.html#nimbo";
}

std::string AddressDocumentUrl(const ServerAddresses& servers) { return servers.Address + "/getip.php?ref=nimbo150"; }

}  // namespace nimbo
