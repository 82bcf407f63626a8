// What every settings backend must do, checked against the bytes on disk where the format matters.
#include "tests/support/settings_file_contract.h"

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "widget/settings_text.h"

namespace nimbo::testing {

SettingsFileContract::SettingsFileContract() : m_folder(std::make_unique<TempFolder>()) {}
SettingsFileContract::~SettingsFileContract() = default;
std::unique_ptr<SettingsFile> SettingsFileContract::Open() { return GetParam().open(Path()); }
std::string SettingsFileContract::Path() const { return m_folder->File("Options.ini"); }
void SettingsFileContract::Fixture(const std::string& bytes) { WriteBytes(Path(), bytes); }

namespace {

// Whether the file's bytes hold `text` in UTF-16LE.
bool HoldsUtf16(const std::string& bytes, const std::string& text) {
    return bytes.find(EncodeSettingsFile(text).substr(kUtf16LeMark.size())) != std::string::npos;
}

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
    const std::string bytes = ReadBytes(Path());
    EXPECT_TRUE(IsUtf16SettingsFile(bytes));
    EXPECT_TRUE(HoldsUtf16(bytes, "FirstUsage=0\r\n"));
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
        EXPECT_TRUE(HoldsUtf16(bytes, line)) << line;
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

TEST_P(SettingsFileContract, AnyLetterInKeysAndValuesIsKeptInUtf16) {
    auto file = Open();
    file->WriteString("Favorites", "İzmir Çiğli", "TUXX0015");
    file->WriteString("Favorites", "Zürich, Schweiz", "2657896");
    file->WriteString("Favorites", "北京 😀", "1816670");
    file->WriteString("Location", "CityName", "Şanlıurfa");
    auto again = Open();
    EXPECT_EQ(again->ReadString("Location", "CityName", ""), "Şanlıurfa");
    EXPECT_EQ(again->ReadSection("Favorites"), (std::vector<std::string>{"İzmir Çiğli", "Zürich, Schweiz", "北京 😀"}));
    EXPECT_EQ(again->ReadString("favorites", "zürich, schweiz", ""), "2657896");
    const std::string bytes = ReadBytes(Path());
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_NE(bytes.find(std::string("C\0i\0t\0y\0N\0a\0m\0e\0=\0\x5E\x01", 20)), std::string::npos);
    EXPECT_TRUE(HoldsUtf16(bytes, "İzmir Çiğli=TUXX0015\r\n"));
}

TEST_P(SettingsFileContract, AnAnsiFileIsReadThroughTheCodePageAndItsFirstWriteMakesItUtf16) {
    // Written by an earlier version on a Turkish system: Windows-1254, the test systems' ANSI code page.
    const std::string ansi =
        "; eski ayarlar\r\n[Location]\r\nCityName=\xDDzmir\r\n\r\n[Favorites]\r\n\xDE"
        "anl\xFDurfa=9\r\nZ\xFCrich=2657896\r\n";
    const std::string text =
        "; eski ayarlar\r\n[Location]\r\nCityName=İzmir\r\n\r\n[Favorites]\r\nŞanlıurfa=9\r\nZürich=2657896\r\n";
    Fixture(ansi);
    auto file = Open();
    EXPECT_EQ(file->ReadString("Location", "CityName", ""), "İzmir");
    EXPECT_EQ(file->ReadSection("Favorites"), (std::vector<std::string>{"Şanlıurfa", "Zürich"}));
    EXPECT_EQ(file->ReadText(), text);
    EXPECT_EQ(ReadBytes(Path()), ansi);

    file->WriteString("Location", "CityID", "311046");
    const std::string bytes = ReadBytes(Path());
    ASSERT_TRUE(IsUtf16SettingsFile(bytes));
    for (const char* kept : {"; eski ayarlar", "CityName=İzmir", "Şanlıurfa=9", "Zürich=2657896", "CityID=311046"}) {
        EXPECT_TRUE(HoldsUtf16(bytes, kept)) << kept;
    }
    EXPECT_EQ(file->ReadSectionValues("Favorites"), (KeyValueList{{"Şanlıurfa", "9"}, {"Zürich", "2657896"}}));

    // Erasing is a write too.
    Fixture(ansi);
    file->EraseSection("Location");
    EXPECT_TRUE(IsUtf16SettingsFile(ReadBytes(Path())));
    EXPECT_TRUE(file->ReadSection("Location").empty());
    EXPECT_EQ(file->ReadSectionValues("Favorites"), (KeyValueList{{"Şanlıurfa", "9"}, {"Zürich", "2657896"}}));
}

TEST_P(SettingsFileContract, AFileWithoutTheMarkIsAnsiWhateverItsBytesLookLike) {
    // Text that a guess by statistics takes for UTF-16.
    Fixture("[A]\r\nk=Bush hid the facts\r\n");
    auto file = Open();
    EXPECT_EQ(file->ReadString("A", "k", ""), "Bush hid the facts");
    file->WriteString("A", "j", "1");
    EXPECT_EQ(file->ReadString("A", "k", ""), "Bush hid the facts");
    EXPECT_TRUE(HoldsUtf16(ReadBytes(Path()), "k=Bush hid the facts\r\n"));
}

TEST_P(SettingsFileContract, ALineBreakOrNulInASectionKeyOrValueIsRefusedAndNothingElseIsLost) {
    auto file = Open();
    file->WriteString("Location", "CityName", "Ankara");
    file->WriteString("Favorites", "Bursa", "7");
    const std::string before = ReadBytes(Path());
    const std::string nul("Bursa\0[X]", 9);
    struct Case {
        std::string section, key, value;
    };
    for (const Case& c : {Case{"Location", "CityName", "Bursa\r\n[Favorites]\r\nEvil=TUXX0014"},
                          Case{"Location", "CityName", "Bursa\n[Favorites]"}, Case{"Location", "CityName", "Bursa\r"},
                          Case{"Location", "CityName", nul}, Case{"Location", "City\r\n[Favorites]\r\nEvil", "1"},
                          Case{"Location]\r\n[Favorites", "Evil", "1"}}) {
        EXPECT_FALSE(file->WriteString(c.section, c.key, c.value)) << c.value;
        EXPECT_FALSE(file->WriteSection(c.section, {{"Ankara", "6"}, {c.key, c.value}})) << c.value;
    }
    EXPECT_EQ(ReadBytes(Path()), before);
    EXPECT_TRUE(file->WriteString("Location", "CityID", "TUXX0005"));
    EXPECT_EQ(file->ReadString("Location", "CityName", ""), "Ankara");
    EXPECT_EQ(file->ReadSectionValues("Favorites"), (KeyValueList{{"Bursa", "7"}}));
}

TEST_P(SettingsFileContract, CreateWithTextMakesTheFileAndItsFoldersAndKeepsOneThatIsThere) {
    const std::string path = Path() + ".d/Pelvar/Nimbo/Options.ini";
    auto file = GetParam().open(path);
    EXPECT_FALSE(file->Exists());
    EXPECT_EQ(file->ReadText(), "");
    file->CreateWithText("[Appearance]\r\nLeft=50\r\n[Favorites]\r\nZürich=2657896\r\n");
    EXPECT_TRUE(file->Exists());
    EXPECT_EQ(ReadBytes(path), EncodeSettingsFile("[Appearance]\r\nLeft=50\r\n[Favorites]\r\nZürich=2657896\r\n"));
    EXPECT_EQ(file->ReadInteger("Appearance", "Left", 0), 50);
    file->CreateWithText("[Appearance]\r\nLeft=1\r\n");
    EXPECT_EQ(file->ReadInteger("Appearance", "Left", 0), 50);
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
