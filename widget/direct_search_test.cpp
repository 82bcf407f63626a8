// Direct mode's search: the same list as the data service's, and the picked place's coordinates kept.
#include "widget/direct_search.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"

namespace nimbo {
namespace {

TEST(DirectSearch, ListsTheAnswerAndRemembersOnlyThePickedPlace) {
    DirectSearch search("http://127.0.0.1:9/v1");
    EXPECT_EQ(search.Url("Bursa"), "http://127.0.0.1:9/v1/search?name=Bursa&count=20&language=tr&format=json");
    search.ReadReply(testing::ReadBytes(NIMBO_TEST_DATA_DIR "/geocoding/search-bursa.json"));
    EXPECT_EQ(search.Names(), (std::vector<std::string>{"Bursa, Bursa, Türkiye", "Bursa, İspanya"}));
    EXPECT_EQ(search.Pairs(), (std::vector<std::string>{"Bursa, Bursa, Türkiye=750269", "Bursa, İspanya=3336901"}));

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

}  // namespace
}  // namespace nimbo
