// Where the widget's servers are: built-in addresses, overridable per machine in Options.ini [Servers].
#pragma once

#include <string>

#include "widget/settings_file.h"
#include "widget/weather_data.h"

namespace nimbo {

// Base URLs without a trailing slash, such as "http://127.0.0.1:8640".
struct ServerAddresses {
    std::string Weather;  // the feed server
    std::string Search;   // the location search server
    std::string Web;      // the maker's web server: version document, download and projects pages
    std::string Address;  // the address-echo server
};

ServerAddresses DefaultServerAddresses();

// Keys `Weather`, `Search`, `Web` and `Address` of section `Servers`; a missing or empty key keeps the default.
ServerAddresses ReadServerAddresses(const SettingsFile& settings);

std::string FeedUrl(const ServerAddresses& servers, const WeatherData& data);
std::string VersionDocumentUrl(const ServerAddresses& servers);
std::string DownloadPageUrl(const ServerAddresses& servers);
std::string ProjectsPageUrl(const ServerAddresses& servers);
std::string AddressDocumentUrl(const ServerAddresses& servers);

}  // namespace nimbo
