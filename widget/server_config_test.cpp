// Server addresses: defaults, the per-machine overrides, and the URLs built on them.
#include "widget/server_config.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"

namespace nimbo {
namespace {

TEST(ServerConfig, OptionsOverrideTheDefaultsKeyByKey) {
    testing::TempFolder folder;
    const std::string path = folder.File("Options.ini");
    {
        IniFile empty(path);
        const ServerAddresses defaults = ReadServerAddresses(empty);
        const ServerAddresses builtIn = DefaultServerAddresses();
        EXPECT_EQ(defaults.Weather, builtIn.Weather);
        EXPECT_EQ(defaults.Address, builtIn.Address);
    }
    testing::WriteBytes(path,
                        "[Servers]\r\nWeather=http://127.0.0.1:8640\r\nSearch=http://127.0.0.1:8641/ \r\n"
                        "Web=\r\nAddress=  http://localhost:9/echo//\r\n");
    IniFile settings(path);
    const ServerAddresses servers = ReadServerAddresses(settings);
    EXPECT_EQ(servers.Weather, "http://127.0.0.1:8640");
    EXPECT_EQ(servers.Search, "http://127.0.0.1:8641");
    EXPECT_EQ(servers.Web, DefaultServerAddresses().Web);
    EXPECT_EQ(servers.Address, "http://localhost:9/echo");
}

// Web= names the pages the shell opens: a program, a share or another scheme must never get there.
TEST(ServerConfig, AnAddressThatIsNoWebAddressKeepsTheDefault) {
    testing::TempFolder folder;
    const std::string path = folder.File("Options.ini");
    testing::WriteBytes(path,
                        "[Servers]\r\nWeather=file:///C:/feeds\r\nSearch=\\\\server\\share\r\n"
                        "Web=C:\\Windows\\System32\\calc.exe\r\nAddress=javascript:alert(1)\r\n"
                        "Forecast=http://x y\r\nGeocoding=ftp://g/v1\r\n");
    IniFile settings(path);
    const ServerAddresses servers = ReadServerAddresses(settings);
    const ServerAddresses defaults = DefaultServerAddresses();
    EXPECT_EQ(servers.Weather, defaults.Weather);
    EXPECT_EQ(servers.Search, defaults.Search);
    EXPECT_EQ(servers.Web, defaults.Web);
    EXPECT_EQ(servers.Address, defaults.Address);
    EXPECT_EQ(servers.Forecast, defaults.Forecast);
    EXPECT_EQ(servers.Geocoding, defaults.Geocoding);
    testing::WriteBytes(path, "[Servers]\r\nWeather=direct\r\nWeb=file:///C:/Windows/System32/calc.exe\r\n");
    EXPECT_EQ(ProjectsPageUrl(ReadServerAddresses(settings)), "");
}

TEST(ServerConfig, DirectModeAsksOpenMeteoAndOnlyTheServersThatAreConfigured) {
    testing::TempFolder folder;
    const std::string path = folder.File("Options.ini");
    testing::WriteBytes(path, "[Servers]\r\nWeather=Direct\r\nAddress=http://127.0.0.1:9\r\n");
    {
        IniFile settings(path);
        const ServerAddresses servers = ReadServerAddresses(settings);
        EXPECT_TRUE(servers.Direct);
        EXPECT_EQ(servers.Weather, "");
        EXPECT_EQ(servers.Forecast, "https://api.open-meteo.com/v1/forecast");
        EXPECT_EQ(servers.Geocoding, "https://geocoding-api.open-meteo.com/v1");
        EXPECT_FALSE(VersionCheckPossible(servers));
        EXPECT_TRUE(AddressLookupPossible(servers));
        EXPECT_EQ(ProjectsPageUrl(servers), "");  // no relative address for the shell to guess at
    }
    testing::WriteBytes(path,
                        "[Servers]\r\nWeather=direct\r\nForecast=http://127.0.0.1:7/v1/forecast\r\n"
                        "Geocoding=http://127.0.0.1:7/v1/\r\nWeb=http://127.0.0.1:8\r\nAddress= \r\n");
    IniFile settings(path);
    const ServerAddresses servers = ReadServerAddresses(settings);
    EXPECT_EQ(servers.Forecast, "http://127.0.0.1:7/v1/forecast");
    EXPECT_EQ(servers.Geocoding, "http://127.0.0.1:7/v1");
    EXPECT_TRUE(VersionCheckPossible(servers));
    EXPECT_FALSE(AddressLookupPossible(servers));
    // Without the mode, the widget's own servers keep their defaults and are always asked.
    IniFile none(folder.File("none.ini"));
    const ServerAddresses service = ReadServerAddresses(none);
    EXPECT_FALSE(service.Direct);
    EXPECT_TRUE(VersionCheckPossible(service));
    EXPECT_TRUE(AddressLookupPossible(service));
}

TEST(ServerConfig, DocumentsHaveTheirFixedPaths) {
    const ServerAddresses servers{"http://w:1", "http://s:2", "http://m:3", "http://a:4"};
    WeatherData data;
    data.CityID = "TUXX0014";
    EXPECT_EQ(FeedUrl(servers, data), "http://w:1/forecastrss/TUXX0014_c.xml");
    EXPECT_EQ(VersionDocumentUrl(servers), "http://m:3/nimbo.xml");
    EXPECT_EQ(DownloadPageUrl(servers), "http://m:3/index.html#nimbonew");
    EXPECT_EQ(ProjectsPageUrl(servers), "http://m:3/projects.html#nimbo");
    EXPECT_EQ(AddressDocumentUrl(servers), "http://a:4/getip.php?ref=nimbo150");
}

}  // namespace
}  // namespace nimbo
