// Where the widget's servers are: built-in addresses, overridable per machine in Options.ini [Servers].
#pragma once

#include <string>

#include "widget/settings_file.h"
#include "widget/weather_data.h"

namespace nimbo {

// Base URLs without a trailing slash, such as "http://127.0.0.1:8640".
struct ServerAddresses {
    std::string Weather;  // the feed server; empty in direct mode
    std::string Search;   // the location search server
    std::string Web;      // the maker's web server: version document, download and projects pages
    std::string Address;  // the address-echo server
    // `Weather=direct`: no feed server; the widget asks Open-Meteo itself (HTTPS, Windows 7 and later) and
    // turns its answer into the feed.
    bool Direct = false;
    std::string Forecast;   // Open-Meteo's forecast endpoint, queried with the place's coordinates
    std::string Geocoding;  // Open-Meteo's geocoding API, "/search" and "/get" are appended
};

inline constexpr char kServersSection[] = "Servers";
inline constexpr char kDirectWeather[] = "direct";

ServerAddresses DefaultServerAddresses();

// Keys `Weather`, `Search`, `Web`, `Address`, `Forecast` and `Geocoding` of section `Servers`; a key that is
// missing, empty or no http:// or https:// address keeps the default. In direct mode a `Web` or `Address` key that is missing or empty leaves that
// address empty: no server of ours answers there, so the request it serves is not made.
ServerAddresses ReadServerAddresses(const SettingsFile& settings);

// Whether the version check and the address lookup have a server to ask.
bool VersionCheckPossible(const ServerAddresses& servers);
bool AddressLookupPossible(const ServerAddresses& servers);

std::string FeedUrl(const ServerAddresses& servers, const WeatherData& data);
std::string VersionDocumentUrl(const ServerAddresses& servers);
std::string DownloadPageUrl(const ServerAddresses& servers);
// Empty without a web server.
std::string ProjectsPageUrl(const ServerAddresses& servers);
std::string AddressDocumentUrl(const ServerAddresses& servers);

}  // namespace nimbo
