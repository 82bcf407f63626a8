// Direct mode's search: the same list as the data service's, and the picked place's coordinates kept.
#include "widget/direct_search.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"

namespace nimbo {
namespace {

TEST(DirectSearch, ListsTheAnswerAndRemembersOnlyThePickedPlace) {
    DirectSearch search("http://127.0.0.1:9/v1");
    EXPECT_EQ(search.Url("Bursa"), "http://127.0.0.1:9/v1/search?name=Bursa&count=20&language=tr&format=json");
    search.ReadReply(testing::ReadBytes(NIMBO_TEST_DATA_DIR "/geocoding/search-bursa.json"));
    EXPECT_EQ(search.Names(), (std::vector<std::string>{"Bursa, Bursa, Türkiye", "Bursa, Aragon, İspanya"}));
    EXPECT_EQ(search.Pairs(),
              (std::vector<std::string>{"Bursa, Bursa, Türkiye=750269", "Bursa, Aragon, İspanya=3336901"}));

    testing::TempFolder folder;
    IniFile settings(folder.File("Options.ini"));
    search.RememberPicked(settings, 1);
    search.RememberPicked(settings, 2);
    EXPECT_EQ(settings.ReadSection(kCoordinatesSection), std::vector<std::string>{"3336901"});
    EXPECT_EQ(settings.ReadString(kCoordinatesSection, "3336901", ""), "41.68333,-1.10000");

    search.ReadReply(R"({"generationtime_ms":0.3})");
    EXPECT_TRUE(search.Names().empty());
    EXPECT_TRUE(search.Pairs().empty());
}

// Places that share a name: each line names its region, and the county (or a smaller division) where the
// region alone leaves two lines alike.
TEST(DirectSearch, PlacesThatShareANameReadApart) {
    DirectSearch search("http://127.0.0.1:9/v1");
    search.ReadReply(testing::ReadBytes(NIMBO_TEST_DATA_DIR "/geocoding/search-hollywood.json"));
    const std::string us = "Amerika Birleşik Devletleri";
    EXPECT_EQ(search.Names(), (std::vector<std::string>{
                                  "Hollywood, Florida, " + us,
                                  "Hollywood, Kaliforniya, " + us,
                                  "Hollywood, Güney Carolina, " + us,
                                  "Hollywood, Maryland, " + us,
                                  "Hollywood, Jackson, Alabama, " + us,
                                  "Hollywood, Mobile, Alabama, " + us,
                                  "Hollywood, Georgia, " + us,
                                  "Hollywood, Pensilvanya, " + us,
                                  "Hollywood, Arkansas, " + us,
                                  "Hollywood, Pierce, Vaşington, " + us,
                                  "Hollywood, King, Vaşington, " + us,
                                  "Hollywood, Leinster, İrlanda",
                                  "Hollywood, Ward 1, Batı Kap, Güney Afrika",
                                  "Hollywood, Ward 2, Batı Kap, Güney Afrika",
                              }));
    const std::set<std::string> distinct(search.Names().begin(), search.Names().end());
    EXPECT_EQ(distinct.size(), search.Names().size());
    EXPECT_EQ(search.Pairs()[4], "Hollywood, Jackson, Alabama, " + us + "=4068523");
}

}  // namespace
}  // namespace nimbo
