// What every XML backend must do for the feed, version and address readers.
#include "tests/support/xml_document_contract.h"

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace nimbo::testing {

std::unique_ptr<XmlDocument> XmlDocumentContract::Load(const std::string& text) {
    auto document = GetParam().create();
    EXPECT_TRUE(document->LoadXml(text)) << text;
    return document;
}

namespace {

const char* const kFeed =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
    "<rss version=\"2.0\" xmlns:yweather=\"http://xml.weather.yahoo.com/ns/rss/1.0\" "
    "xmlns:geo=\"http://www.w3.org/2003/01/geo/wgs84_pos#\">\n"
    " <channel>\n"
    "  <lastBuildDate>Mon, 21 Jan 2008 8:56 am PST</lastBuildDate>\n"
    "  <yweather:location city=\"\xC4\xB0stanbul\" region=\"\" country=\"T&#252;rkiye &amp; co\" padded=\"  Vienna "
    "\"/>\n"
    "  <item>\n"
    "   <geo:lat>\n     41.01\n   </geo:lat>\n"
    "   <title><![CDATA[Conditions <b>now</b>]]></title>\n"
    "   <description>One <b>two</b> three</description>\n"
    "   <yweather:forecast day=\"Mon\" low=\"1\"/>\n"
    "   <yweather:forecast day=\"Tue\" low=\"2\"/>\n"
    "   <yweather:forecast day=\"Wed\" low=\"3\"/>\n"
    "  </item>\n"
    " </channel>\n"
    "</rss>\n";

TEST_P(XmlDocumentContract, PrefixedPathsSelectElementsAsTheDocumentWritesThem) {
    auto document = Load(kFeed);
    const XmlNodePtr location = document->SelectSingleNode("/rss/channel/yweather:location");
    ASSERT_NE(location, nullptr);
    EXPECT_EQ(location->Attribute("city"), "\xC4\xB0stanbul");
    EXPECT_EQ(location->Attribute("region"), "");
    EXPECT_EQ(location->Attribute("country"), "T\xC3\xBCrkiye & co");
    EXPECT_EQ(location->Attribute("missing"), std::nullopt);
    EXPECT_EQ(location->Attribute("padded"), "  Vienna ");

    const std::vector<XmlNodePtr> forecast = document->SelectNodes("/rss/channel/item/yweather:forecast");
    ASSERT_EQ(forecast.size(), 3u);
    EXPECT_EQ(forecast[0]->Attribute("day"), "Mon");
    EXPECT_EQ(forecast[2]->Attribute("low"), "3");
}

TEST_P(XmlDocumentContract, NamespacesDeclaredOnEachElementWork) {
    auto document = Load(
        "<query xmlns:yahoo=\"http://www.yahooapis.com/v1/base.rng\" yahoo:count=\"1\"><results><channel>"
        "<yweather:wind xmlns:yweather=\"http://xml.weather.yahoo.com/ns/rss/1.0\" chill=\"72\"/>"
        "<item><geo:lat xmlns:geo=\"http://www.w3.org/2003/01/geo/wgs84_pos#\">48.2</geo:lat></item>"
        "</channel></results></query>");
    const XmlNodePtr wind = document->SelectSingleNode("/query/results/channel/yweather:wind");
    ASSERT_NE(wind, nullptr);
    EXPECT_EQ(wind->Attribute("chill"), "72");
    const XmlNodePtr lat = document->SelectSingleNode("/query/results/channel/item/geo:lat");
    ASSERT_NE(lat, nullptr);
    EXPECT_EQ(lat->Text(), "48.2");
}

TEST_P(XmlDocumentContract, AnAbsentElementIsNoNode) {
    auto document = Load(kFeed);
    for (const char* path : {"/rss/channel/yweather:wind", "/rss/channel/location", "/channel/lastBuildDate",
                             "/rss/channel/item/yweather:condition", "/data/version"}) {
        EXPECT_EQ(document->SelectSingleNode(path), nullptr) << path;
        EXPECT_TRUE(document->SelectNodes(path).empty()) << path;
    }
}

TEST_P(XmlDocumentContract, TextJoinsTheSubtreeWithoutSurroundingBlanks) {
    auto document = Load(kFeed);
    const struct {
        const char* path;
        const char* text;
    } cases[] = {
        {"/rss/channel/lastBuildDate", "Mon, 21 Jan 2008 8:56 am PST"},
        {"/rss/channel/item/geo:lat", "41.01"},
        {"/rss/channel/item/title", "Conditions <b>now</b>"},
        {"/rss/channel/item/description", "One two three"},
        {"/rss/channel/yweather:location", ""},
    };
    for (const auto& c : cases) {
        const XmlNodePtr node = document->SelectSingleNode(c.path);
        ASSERT_NE(node, nullptr) << c.path;
        EXPECT_EQ(node->Text(), c.text) << c.path;
    }
}

TEST_P(XmlDocumentContract, TextsThatAreNoXmlDocumentDoNotLoad) {
    const char* const texts[] = {
        "",
        "   \r\n",
        "City not found",
        "<html><head><title>404 Not Found</title></head><body><h1>Not Found</h1><br></body></html>",
        "<?xml version=\"1.0\"?><rss><channel><title>cut off",
        "<data><version>1.61</version></data><data/>",
        "<rss><channel></rss>",
    };
    for (const char* text : texts) {
        auto document = GetParam().create();
        EXPECT_FALSE(document->LoadXml(text)) << text;
        EXPECT_EQ(document->SelectSingleNode("/rss/channel"), nullptr) << text;
    }
}

// Feeds arrive over plain HTTP: a document type may neither read local files nor expand into gigabytes.
// Refusing such a document and reading it without its entities are both safe.
TEST_P(XmlDocumentContract, DocumentTypesResolveNoEntity) {
    TempFolder folder;
    WriteBytes(folder.File("secret.txt"), "local-secret");
    std::string url = std::filesystem::path(folder.File("secret.txt")).generic_string();
    url = "file:///" + url.substr(url.find_first_not_of('/'));
    std::string laughs = "<!ENTITY lol0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        const std::string previous = "&lol" + std::to_string(i - 1) + ";";
        std::string ten;
        for (int j = 0; j < 10; ++j) ten += previous;
        laughs += "<!ENTITY lol" + std::to_string(i) + " \"" + ten + "\">";
    }
    const std::string documents[] = {
        "<?xml version=\"1.0\"?><!DOCTYPE data [<!ENTITY x SYSTEM \"" + url + "\">]><data><ip>&x;</ip></data>",
        "<?xml version=\"1.0\"?><!DOCTYPE data SYSTEM \"" + url + "\"><data><ip>1.2.3.4</ip></data>",
        "<?xml version=\"1.0\"?><!DOCTYPE data [" + laughs + "]><data><ip>&lol9;</ip></data>",
    };
    for (const std::string& text : documents) {
        auto document = GetParam().create();
        if (!document->LoadXml(text)) continue;
        const XmlNodePtr ip = document->SelectSingleNode("/data/ip");
        if (!ip) continue;
        const std::string read = ip->Text();
        EXPECT_EQ(read.find("local-secret"), std::string::npos) << text;
        EXPECT_LT(read.size(), 1000u) << text.substr(0, 80);
    }
}

TEST_P(XmlDocumentContract, BlanksBeforeTheDeclarationAreForgiven) {
    auto document = Load("\t\r\n <?xml version=\"1.0\" encoding=\"UTF-8\"?><data><ip>10.1.2.3</ip></data>");
    const XmlNodePtr ip = document->SelectSingleNode("/data/ip");
    ASSERT_NE(ip, nullptr);
    EXPECT_EQ(ip->Text(), "10.1.2.3");
}

// The text handed over is already decoded; a declaration naming another encoding must not re-decode it.
TEST_P(XmlDocumentContract, TheDeclaredEncodingDoesNotChangeTheGivenText) {
    for (const char* encoding : {"UTF-8", "UTF-16", "ISO-8859-9", "windows-1254"}) {
        auto document = Load(std::string("<?xml version=\"1.0\" encoding=\"") + encoding +
                             "\"?><data><city>\xC4\xB0stanbul \xC5\x9F\xC4\x9F</city></data>");
        const XmlNodePtr city = document->SelectSingleNode("/data/city");
        ASSERT_NE(city, nullptr) << encoding;
        EXPECT_EQ(city->Text(), "\xC4\xB0stanbul \xC5\x9F\xC4\x9F") << encoding;
    }
}

TEST_P(XmlDocumentContract, ALaterLoadReplacesTheDocument) {
    auto document = Load("<data><version>1.61</version></data>");
    ASSERT_TRUE(document->LoadXml("<data><ip>1.2.3.4</ip></data>"));
    EXPECT_EQ(document->SelectSingleNode("/data/version"), nullptr);
    EXPECT_NE(document->SelectSingleNode("/data/ip"), nullptr);

    EXPECT_FALSE(document->LoadXml("not xml"));
    EXPECT_EQ(document->SelectSingleNode("/data/ip"), nullptr);
}

// Nodes stay readable after the list and the other nodes that produced them are gone.
TEST_P(XmlDocumentContract, NodesOutliveTheirList) {
    auto document = Load(kFeed);
    XmlNodePtr last;
    {
        std::vector<XmlNodePtr> forecast = document->SelectNodes("/rss/channel/item/yweather:forecast");
        ASSERT_EQ(forecast.size(), 3u);
        last = std::move(forecast.back());
    }
    EXPECT_EQ(last->Attribute("day"), "Wed");
}

}  // namespace
}  // namespace nimbo::testing
