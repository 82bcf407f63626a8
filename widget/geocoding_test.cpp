// Geocoding: the requests' addresses and reading the answers Open-Meteo gives (and the ones it should not).
#include "widget/geocoding.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

constexpr char kSearchAnswer[] = R"({"results":[
 {"id":745044,"name":"İstanbul","latitude":41.01384,"longitude":28.94966,"feature_code":"PPLA",
  "country_code":"TR","admin1_id":745042,"timezone":"Europe/Istanbul","country":"Türkiye","admin1":"İstanbul"},
 {"id":6955677,"name":"Istanbul","latitude":-31.2,"longitude":-64.5,"country":"Arjantin","admin1":"Córdoba"},
 {"id":"12","name":"id as text","latitude":1,"longitude":2},
 {"id":13,"latitude":1,"longitude":2},
 {"id":14,"name":"north of the pole","latitude":95,"longitude":2},
 {"id":15,"name":"no longitude","latitude":1}
],"generationtime_ms":0.9})";

TEST(Geocoding, RequestsCarryTheQueryEncodedAndOnlyGeoNamesIds) {
    EXPECT_EQ(GeocodingSearchUrl("http://127.0.0.1:9/v1", "İst anbul&x=1"),
              "http://127.0.0.1:9/v1/search?name=%C4%B0st%20anbul%26x%3D1&count=20&language=tr&format=json");
    EXPECT_EQ(GeocodingGetUrl("https://g/v1", "745044"), "https://g/v1/get?id=745044&language=tr&format=json");
    EXPECT_EQ(GeocodingGetUrl("https://g/v1", "745044&count=100"), "");
    EXPECT_EQ(GeocodingGetUrl("https://g/v1", "TUXX0014"), "");
}

TEST(Geocoding, SearchAnswerGivesCompletePlacesInOrder) {
    const auto places = ReadGeocodingSearch(kSearchAnswer);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].id, "745044");
    EXPECT_DOUBLE_EQ(places[0].at.latitude, 41.01384);
    EXPECT_DOUBLE_EQ(places[1].at.longitude, -64.5);
    EXPECT_EQ(SearchResultLines(places),
              (std::vector<std::string>{"İstanbul, İstanbul, Türkiye=745044", "Istanbul, Córdoba, Arjantin=6955677"}));
}

TEST(Geocoding, AnswersWithoutResultsOrWithoutJsonGiveAnEmptyList) {
    for (const char* answer : {R"({"generationtime_ms":0.5})", R"({"results":{}})", R"({"results":[]})", "[1,2]", "",
                               "<html>500</html>", R"({"results":[{"id":1,"name":"cut)",
                               R"({"error":true,"reason":"Parameter count must be between 1 and 100."})"}) {
        EXPECT_TRUE(ReadGeocodingSearch(answer).empty()) << answer;
    }
}

TEST(Geocoding, GetAnswerIsOnePlaceObject) {
    const auto place = ReadGeocodingPlace(
        R"({"id":2950159,"name":"Berlin","latitude":52.52437,"longitude":13.41053,"country":"Almanya","admin1":"Berlin"})");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->id, "2950159");
    EXPECT_EQ(SearchResultNames({*place}), std::vector<std::string>{"Berlin, Berlin, Almanya"});
    EXPECT_FALSE(ReadGeocodingPlace(R"({"error":true,"reason":"Location ID not found."})"));
    EXPECT_FALSE(ReadGeocodingPlace(R"({"results":[{"id":2950159,"name":"Berlin","latitude":1,"longitude":2}]})"));
}

// The names reach the list, the face and Options.ini: a line break there would forge keys and sections.
TEST(Geocoding, NamesAreOneLineWhateverTheAnswerHolds) {
    const auto place = ReadGeocodingPlace(
        R"({"id":2950159,"name":"Berlin\r\n[Favorites]\r\nEvil=TUXX0014","latitude":52.5,"longitude":13.4,)"
        R"("country":"Almanya\u0000\n[General]","admin1":"Berlin\u2028x","country_code":"T\nR"})");
    ASSERT_TRUE(place);
    EXPECT_EQ(place->name, "Berlin [Favorites] Evil=TUXX0014");
    EXPECT_EQ(place->country, "Almanya [General]");
    EXPECT_EQ(place->region, "Berlin x");
    EXPECT_EQ(place->countryCode, "T R");
    const auto found = ReadGeocodingSearch(
        R"({"results":[{"id":1,"name":"\r\n","latitude":1,"longitude":2},)"
        R"({"id":2,"name":"Bursa\n[Location]\nCityID=1","latitude":1,"longitude":2,"country":"T\u0085rkiye"}]})");
    EXPECT_EQ(SearchResultLines(found), (std::vector<std::string>{"Bursa [Location] CityID=1, T rkiye=2"}));
}

TEST(Geocoding, DisplayNamesSplitBackIntoTheirParts) {
    struct Case {
        const char* text;
        const char* name;
        const char* region;
        const char* country;
    };
    for (const Case& c :
         {Case{"Nilüfer, Bursa, Türkiye", "Nilüfer", "Bursa", "Türkiye"},
          Case{"Istanbul, Arjantin", "Istanbul", "", "Arjantin"}, Case{"Istanbul", "Istanbul", "", ""},
          Case{"Hollywood, Broward County, Florida, Amerika Birleşik Devletleri", "Hollywood", "Florida",
               "Amerika Birleşik Devletleri"},
          Case{"Neuenkirchen, Lower Saxony, Almanya (53.00° K 9.72° D)", "Neuenkirchen", "Lower Saxony", "Almanya"},
          Case{"", "", "", ""}}) {
        const GeoPlace place = PlaceFromDisplayName(c.text);
        EXPECT_EQ(place.name, c.name) << c.text;
        EXPECT_EQ(place.region, c.region) << c.text;
        EXPECT_EQ(place.country, c.country) << c.text;
    }
}

}  // namespace
}  // namespace nimbo
