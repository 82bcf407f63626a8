// Server addresses from Options.ini, and the documents' full URLs on them.
#include "widget/server_config.h"

#include "base/untrusted_text.h"
#include "widget/weather_feed.h"

namespace nimbo {
namespace {

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Trimmed(const std::string& value) {
    const size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

// A key that is missing, empty or no http(s) address keeps the default: whatever the file says, the widget asks
// only web servers and hands the shell only web pages.
std::string ReadBase(const SettingsFile& settings, const char* key, const std::string& defaultValue) {
    std::string value = Trimmed(settings.ReadString(kServersSection, key, ""));
    // The paths that are appended start with "/".
    while (!value.empty() && value.back() == '/') value.pop_back();
    return IsWebAddress(value) ? value : defaultValue;
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
    servers.Direct = AsciiLower(Trimmed(settings.ReadString(kServersSection, "Weather", ""))) == kDirectWeather;
    servers.Weather = servers.Direct ? std::string() : ReadBase(settings, "Weather", defaults.Weather);
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
