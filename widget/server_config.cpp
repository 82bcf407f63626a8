// Server addresses from Options.ini, and the documents' full URLs on them.
#include "widget/server_config.h"

#include "widget/weather_feed.h"

namespace nimbo {
namespace {

std::string ReadBase(const SettingsFile& settings, const char* key, const std::string& defaultValue) {
    std::string value = settings.ReadString("Servers", key, defaultValue);
    const size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos) return defaultValue;
    value = value.substr(first, value.find_last_not_of(" \t") - first + 1);
    // The paths that are appended start with "/".
    while (!value.empty() && value.back() == '/') value.pop_back();
    return value.empty() ? defaultValue : value;
}

}  // namespace

ServerAddresses DefaultServerAddresses() {
    return {"http://weather.yahooapis.com", "http://xoap.weather.com", "http://www.pelvar.com",
            "http://www.pelvar.com"};
}

ServerAddresses ReadServerAddresses(const SettingsFile& settings) {
    const ServerAddresses defaults = DefaultServerAddresses();
    return {ReadBase(settings, "Weather", defaults.Weather), ReadBase(settings, "Search", defaults.Search),
            ReadBase(settings, "Web", defaults.Web), ReadBase(settings, "Address", defaults.Address)};
}

std::string FeedUrl(const ServerAddresses& servers, const WeatherData& data) {
    return servers.Weather + FeedAddress(data);
}

std::string VersionDocumentUrl(const ServerAddresses& servers) { return servers.Web + "/nimbo.xml"; }

std::string DownloadPageUrl(const ServerAddresses& servers) { return servers.Web + "/index.html#nimbonew"; }

std::string ProjectsPageUrl(const ServerAddresses& servers) { return servers.Web + "/projects.html#nimbo"; }

std::string AddressDocumentUrl(const ServerAddresses& servers) { return servers.Address + "/getip.php?ref=nimbo150"; }

}  // namespace nimbo
