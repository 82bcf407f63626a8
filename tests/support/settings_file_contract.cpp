// What every settings backend must do, checked against the bytes on disk where the format matters.
#include "tests/support/settings_file_contract.h"

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace nimbo::testing {

SettingsFileContract::SettingsFileContract() : m_folder(std::make_unique<TempFolder>()) {}
SettingsFileContract::~SettingsFileContract() = default;
std::unique_ptr<SettingsFile> SettingsFileContract::Open() { return GetParam().open(Path()); }
std::string SettingsFileContract::Path() const { return m_folder->File("Options.ini"); }
void SettingsFileContract::Fixture(const std::string& bytes) { WriteBytes(Path(), bytes); }

namespace {

TEST_P(SettingsFileContract, MissingFileGivesDefaultsAndTheFirstWriteCreatesIt) {
    auto file = Open();
    EXPECT_EQ(file->ReadString("Location", "CityName", "Istanbul"), "Istanbul");
    EXPECT_EQ(file->ReadInteger("Appearance", "Left", 300), 300);
    EXPECT_TRUE(file->ReadBool("General", "AutoUpdate", true));
    EXPECT_TRUE(file->ReadSection("Favorites").empty());
    EXPECT_FALSE(std::filesystem::exists(Path()));

    file->WriteBool("General", "FirstUsage", false);
    file->UpdateFile();
    EXPECT_FALSE(file->ReadBool("General", "FirstUsage", true));
    EXPECT_NE(ReadBytes(Path()).find("FirstUsage=0"), std::string::npos);
}

TEST_P(SettingsFileContract, ValuesRoundTripInTheirWrittenForms) {
    auto file = Open();
    file->WriteString("Location", "CityName", "Ankara");
    file->WriteInteger("Appearance", "Left", -120);
    file->WriteInteger("Appearance", "BackColor", 8421504);
    file->WriteBool("General", "AlwaysTop", true);
    file->WriteBool("General", "FadeEffect", false);
    file->UpdateFile();

    EXPECT_EQ(file->ReadString("Location", "CityName", ""), "Ankara");
    EXPECT_EQ(file->ReadInteger("Appearance", "Left", 0), -120);
    EXPECT_EQ(file->ReadInteger("Appearance", "BackColor", 0), 8421504);
    EXPECT_TRUE(file->ReadBool("General", "AlwaysTop", false));
    EXPECT_FALSE(file->ReadBool("General", "FadeEffect", true));

    const std::string bytes = ReadBytes(Path());
    for (const char* line : {"CityName=Ankara", "Left=-120", "AlwaysTop=1", "FadeEffect=0", "[Appearance]"}) {
        EXPECT_NE(bytes.find(line), std::string::npos) << line;
    }
}

TEST_P(SettingsFileContract, NamesAreCaseInsensitiveAndAnOverwriteKeepsEverythingElse) {
    auto file = Open();
    file->WriteString("General", "AutoUpdate", "1");
    file->WriteString("General", "UpdatePeriod", "3");
    file->WriteString("Location", "CityID", "TUXX0014");
    file->WriteString("general", "AUTOUPDATE", "0");

    EXPECT_EQ(file->ReadString("GENERAL", "autoupdate", "?"), "0");
    EXPECT_EQ(file->ReadSection("General"), (std::vector<std::string>{"AutoUpdate", "UpdatePeriod"}));
    EXPECT_EQ(file->ReadString("Location", "CityID", ""), "TUXX0014");
}

TEST_P(SettingsFileContract, IntegerAndBooleanFormsFallBackToTheDefault) {
    Fixture(
        "[N]\r\nplain=42\r\nnegative=-7\r\ndollar=$1F\r\nhex=0x10\r\nword=abc\r\nempty=\r\n"
        "mixed=12ab\r\nhuge=99999999999\r\ntwo=2\r\nzero=0\r\nyes=yes\r\n");
    auto file = Open();
    struct Case {
        const char* key;
        int32_t expected;
    };
    for (const Case& c :
         {Case{"plain", 42}, Case{"negative", -7}, Case{"dollar", 31}, Case{"hex", 16}, Case{"word", 555},
          Case{"empty", 555}, Case{"mixed", 555}, Case{"huge", 555}, Case{"absent", 555}}) {
        EXPECT_EQ(file->ReadInteger("N", c.key, 555), c.expected) << c.key;
    }
    EXPECT_TRUE(file->ReadBool("N", "two", false));
    EXPECT_FALSE(file->ReadBool("N", "zero", true));
    EXPECT_TRUE(file->ReadBool("N", "yes", true));
    EXPECT_FALSE(file->ReadBool("N", "yes", false));
}

TEST_P(SettingsFileContract, HandWrittenFilesReadAsTheSystemReadsThem) {
    Fixture(
        "; written by hand\r\n"
        "[Location]\r\n"
        "  CityName  =  Bursa  \r\n"
        "CityID=\"TUXX0005\"\r\n"
        ";CityName=Comment\r\n"
        "CityName=Second\r\n"
        "\r\n"
        "[Favorites]\n"
        "Izmir=TUXX0015\n"
        "Adana=TUXX0001\n");
    auto file = Open();
    EXPECT_EQ(file->ReadString("Location", "CityName", ""), "Bursa");
    EXPECT_EQ(file->ReadString("Location", "CityID", ""), "TUXX0005");
    EXPECT_EQ(file->ReadSection("Location"), (std::vector<std::string>{"CityName", "CityID", "CityName"}));
    const KeyValueList favourites = file->ReadSectionValues("Favorites");
    ASSERT_EQ(favourites.size(), 2u);
    EXPECT_EQ(favourites[0], (std::pair<std::string, std::string>{"Izmir", "TUXX0015"}));
    EXPECT_EQ(favourites[1], (std::pair<std::string, std::string>{"Adana", "TUXX0001"}));
}

TEST_P(SettingsFileContract, LongValuesAreReadBackUpTo2047Characters) {
    auto file = Open();
    file->WriteString("Appearance", "TempFontName", std::string(3000, 'x'));
    EXPECT_EQ(file->ReadString("Appearance", "TempFontName", ""), std::string(2047, 'x'));
}

TEST_P(SettingsFileContract, EraseSectionRemovesOnlyThatSection) {
    auto file = Open();
    file->WriteString("Favorites", "Izmir", "TUXX0015");
    file->WriteString("Favorites", "Van", "TUXX0031");
    file->WriteString("Location", "CityID", "TUXX0014");
    file->EraseSection("favorites");
    file->EraseSection("NoSuchSection");
    EXPECT_TRUE(file->ReadSection("Favorites").empty());
    EXPECT_EQ(file->ReadString("Location", "CityID", ""), "TUXX0014");
    file->WriteString("Favorites", "Rize", "TUXX0027");
    EXPECT_EQ(file->ReadSection("Favorites"), (std::vector<std::string>{"Rize"}));
}

TEST_P(SettingsFileContract, TurkishTextIsKeptInWindows1254OnDisk) {
    auto file = Open();
    file->WriteString("Favorites", "İzmir Çiğli", "TUXX0015");
    file->WriteString("Location", "CityName", "Şanlıurfa");
    EXPECT_EQ(file->ReadString("Location", "CityName", ""), "Şanlıurfa");
    EXPECT_EQ(file->ReadSection("Favorites"), (std::vector<std::string>{"İzmir Çiğli"}));
    const std::string bytes = ReadBytes(Path());
    EXPECT_NE(bytes.find("\xDE"
                         "anl\xFD"
                         "urfa"),
              std::string::npos);
    EXPECT_NE(bytes.find("\xDD"
                         "zmir \xC7"
                         "i\xF0"
                         "li"),
              std::string::npos);
}

TEST_P(SettingsFileContract, RefusedWriteRaisesTheErrorWithTheFileName) {
    // A folder that does not exist refuses every write, whoever runs the test (root ignores read-only bits).
    const std::string path = Path() + ".missing/Options.ini";
    auto file = GetParam().open(path);
    try {
        file->WriteBool("General", "FirstUsage", false);
        FAIL() << "a write the system refused was reported as done";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    EXPECT_TRUE(file->ReadBool("General", "FirstUsage", true));
}

TEST_P(SettingsFileContract, WriteSectionReplacesTheWholeSectionAndNothingElse) {
    auto file = Open();
    file->WriteString("Favorites", "Van", "TUXX0031");
    file->WriteString("Favorites", "Rize", "TUXX0027");
    file->WriteString("Location", "CityID", "TUXX0014");
    file->WriteSection("favorites", {{"Ağrı", "TUXX0001"}, {"Ankara", "TUXX0002"}});
    EXPECT_EQ(file->ReadSectionValues("Favorites"), (KeyValueList{{"Ağrı", "TUXX0001"}, {"Ankara", "TUXX0002"}}));
    EXPECT_EQ(file->ReadString("Location", "CityID", ""), "TUXX0014");
    file->WriteSection("Servers", {{"Weather", "direct"}});
    EXPECT_EQ(file->ReadString("Servers", "Weather", ""), "direct");
    EXPECT_EQ(file->ReadSection("Favorites").size(), 2u);
    file->WriteSection("Favorites", {});
    EXPECT_TRUE(file->ReadSection("Favorites").empty());
    EXPECT_EQ(ReadBytes(Path()).find("[Favorites]"), std::string::npos);
    EXPECT_EQ(file->ReadString("Servers", "Weather", ""), "direct");
}

}  // namespace

}  // namespace nimbo::testing
