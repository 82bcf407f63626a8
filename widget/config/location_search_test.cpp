// Location search: the query inside one URL value, and what a reply lists.
#include "widget/config/location_search.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(LocationSearch, TheQueryIsOnePercentEncodedValue) {
    EXPECT_EQ(SearchUrl("http://h:1", "Şanlıurfa & co"),
              "http://h:1/search/search?where=%C5%9Eanl%C4%B1urfa%20%26%20co");
    EXPECT_EQ(SearchUrl("http://h", "a#b=c?d+e/f%"), "http://h/search/search?where=a%23b%3Dc%3Fd%2Be%2Ff%25");
    EXPECT_EQ(SearchUrl("http://h", "TUXX-0014_a.b~"), "http://h/search/search?where=TUXX-0014_a.b~");
}

std::vector<std::string> Lines(const std::vector<Place>& places) {
    std::vector<std::string> lines;
    for (const auto& place : places) lines.push_back(place.name + "=" + place.id);
    return lines;
}

TEST(LocationSearch, ListsCompleteEntriesInReplyOrder) {
    struct Case {
        std::string reply;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"<search><loc id=\"3\">Paris, France</loc><loc id=\"1\">Paris, TX</loc><loc id=\"2\">Paris, France</loc>"
         "</search>",
         {"Paris, France=3", "Paris, TX=1", "Paris, France=2"}},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><search><loc id=\"745044\">\xC4\xB0stanbul</loc>"
         "</search>",
         {"İstanbul=745044"}},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-9\"?><search><loc id=\"298333\">\xDE"
         "anl\xFDurfa</loc></search>",
         {"Şanlıurfa=298333"}},
        {"<search><loc>Yok</loc><loc id=\"\">Bos</loc><loc id=\"5\"> </loc><loc id=\"6\">Var</loc></search>",
         {"Var=6"}},
        {"<search><loc id=\"7\">K\xC3\xB6t\xC3\xBC&#13;&#10;[General]&#13;&#10;AutoUpdate=0</loc></search>",
         {"Kötü [General] AutoUpdate=0=7"}},
        {"<search/>", {}},
        {"<other><loc id=\"1\">X</loc></other>", {}},
        {"<html><body>Not found</body></html>", {}},
        {"not xml at all", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Lines(ParseSearchReply(c.reply)), c.expected) << c.reply;
}

TEST(LocationSearch, CountText) {
    EXPECT_EQ(SearchCountText(3), "3 yer bulundu.");
    EXPECT_EQ(SearchCountText(1), "1 yer bulundu.");
    EXPECT_EQ(SearchCountText(0), "Herhangi bir yer bulunamadı.");
}

}  // namespace
}  // namespace nimbo
