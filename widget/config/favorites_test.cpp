// Favourites: Turkish order, duplicates, removal selection, and names that must not break the settings file.
#include "widget/config/favorites.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "widget/config/turkish_order.h"
#include "widget/ini_file.h"
#include "widget/settings_text.h"

namespace nimbo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::vector<std::string> Names(const FavoriteList& list) {
    std::vector<std::string> names;
    for (const auto& place : list.Places()) names.push_back(place.name);
    return names;
}

TEST(Favorites, InsertsInTurkishOrderWhateverTheLetterCase) {
    FavoriteList list;
    list.Load({{"zonguldak", "1"}, {"Çorum", "2"}});
    EXPECT_FALSE(list.Changed());
    int index = -1;
    for (const char* name : {"İzmir", "Ağrı", "Iğdır", "cide", "Şanlıurfa", "Adana", "Ankara, TR", "Ankara"}) {
        ASSERT_EQ(list.Add({name, name}, &index), FavoriteList::AddResult::Added) << name;
        EXPECT_EQ(list.Places()[static_cast<size_t>(index)].name, name);
    }
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Adana", "Ağrı", "Ankara", "Ankara, TR", "cide", "Çorum", "Iğdır",
                                                     "İzmir", "Şanlıurfa", "zonguldak"}));
    EXPECT_TRUE(list.Changed());
    EXPECT_LT(TurkishCompare("ısparta", "Istanbul"), 0);
    EXPECT_LT(TurkishCompare("Uşak", "Ülkü"), 0);
}

TEST(Favorites, ADuplicateNameAddsNothing) {
    FavoriteList list;
    list.Load({{"Ankara", "323786"}, {"İzmir", "311046"}});
    for (const char* name : {"ANKARA", "ankara", "IZMIR", "izmir", "  Ankara "}) {
        EXPECT_EQ(list.Add({name, "9"}), FavoriteList::AddResult::Duplicate) << name;
    }
    EXPECT_EQ(list.Places().size(), 2u);
    EXPECT_FALSE(list.Changed());
    EXPECT_EQ(DuplicateFavoriteMessage("ANKARA"), "\"ANKARA\" favorilerim listesine zaten eklenmiş.");
}

TEST(Favorites, RemovalSelectsTheEntryThatTakesItsPlace) {
    struct Case {
        int size;
        int removed;
        int selected;
    };
    for (const Case c : {Case{5, 4, 3}, Case{5, 1, 1}, Case{1, 0, -1}, Case{3, 0, 0}, Case{2, 5, -1}}) {
        FavoriteList list;
        KeyValueList pairs;
        for (int i = 0; i < c.size; ++i) pairs.emplace_back(std::string(1, static_cast<char>('a' + i)), "id");
        list.Load(pairs);
        EXPECT_EQ(list.Remove(c.removed), c.selected) << c.size << " " << c.removed;
    }
}

TEST(Favorites, NamesThatBeginAlikeKeepTheirOwnIds) {
    TempFolder folder;
    IniFile file(folder.File("Options.ini"));
    FavoriteList list;
    list.Add({"Ankara, TR", "2"});
    list.Add({"Ankara", "1"});
    list.Add({"Ankara=X", "3"});
    list.Save(file);
    EXPECT_EQ(file.ReadSectionValues("Favorites"), (KeyValueList{{"Ankara", "1"}, {"Ankara, TR", "2"}}));
    list.Remove(0);
    list.Save(file);
    EXPECT_EQ(file.ReadSectionValues("Favorites"), (KeyValueList{{"Ankara, TR", "2"}}));
}

TEST(Favorites, EveryStoredNameReadsBackAsTheSameSingleEntry) {
    struct Case {
        const char* name;
        const char* shown;  // what the list shows and the file keeps; empty when refused
    };
    for (const Case c : {Case{"Kötü\r\n[General]\r\nAutoUpdate", "Kötü [General] AutoUpdate"},
                         Case{"\tTab\tve  boşluk ", "Tab ve boşluk"}, Case{"北京 Beijing", "北京 Beijing"},
                         Case{"Zürich\u0085Ærø", "Zürich Ærø"}, Case{"[General]", ""}, Case{"; yorum", ""},
                         Case{"a=b", ""}, Case{"\r\n", ""}, Case{"\r\n[Location]\r\nCityID=1", ""}}) {
        TempFolder folder;
        WriteBytes(folder.File("Options.ini"), "[General]\r\nAutoUpdate=1\r\n");
        IniFile file(folder.File("Options.ini"));
        FavoriteList list;
        const auto result = list.Add({c.name, "42\r\n[X]"});
        if (!*c.shown) {
            EXPECT_EQ(result, FavoriteList::AddResult::Unstorable) << c.name;
            continue;
        }
        ASSERT_EQ(result, FavoriteList::AddResult::Added) << c.name;
        EXPECT_EQ(list.Places()[0].name, c.shown);
        list.Save(file);
        EXPECT_EQ(file.ReadSectionValues("Favorites"), (KeyValueList{{c.shown, "42 [X]"}})) << c.name;
        EXPECT_EQ(file.ReadSection("General"), std::vector<std::string>{"AutoUpdate"});
    }
    EXPECT_EQ(UnstorableFavoriteMessage("a=b"),
              "\"a=b\" favorilerim listesine eklenemez: yer adı \"=\" içeremez, \"[\" ya da \";\" ile başlayamaz.");
}

TEST(Favorites, AClearedListLeavesNoSection) {
    TempFolder folder;
    WriteBytes(folder.File("Options.ini"), "[Favorites]\r\nAnkara=1\r\n[Location]\r\nCityID=1\r\n");
    IniFile file(folder.File("Options.ini"));
    FavoriteList list;
    list.Load(file.ReadSectionValues("Favorites"));
    list.Clear();
    EXPECT_TRUE(list.Changed());
    list.Save(file);
    EXPECT_EQ(ReadBytes(folder.File("Options.ini")), EncodeSettingsFile("[Location]\r\nCityID=1\r\n"));
}

// A full disk: what shrinks the file goes through, anything that writes names and values is refused.
class FullDiskSettings final : public SettingsFile {
public:
    explicit FullDiskSettings(SettingsFile& file) : m_file(file) {}
    const std::string& FileName() const override { return m_file.FileName(); }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override {
        return m_file.ReadString(section, key, defaultValue);
    }
    std::vector<std::string> ReadSection(const std::string& section) const override {
        return m_file.ReadSection(section);
    }
    void EraseSection(const std::string& section) override { m_file.EraseSection(section); }
    void UpdateFile() override {}
    bool Exists() const override { return m_file.Exists(); }
    std::string ReadText() const override { return m_file.ReadText(); }
    void CreateWithText(const std::string&) override { throw SettingsWriteError(FileName()); }

private:
    bool StoreString(const std::string&, const std::string&, const std::string&) override {
        throw SettingsWriteError(FileName());
    }
    void StoreSection(const std::string&, const KeyValueList&) override { throw SettingsWriteError(FileName()); }

    SettingsFile& m_file;
};

TEST(Favorites, ARefusedSaveKeepsTheStoredList) {
    TempFolder folder;
    WriteBytes(folder.File("Options.ini"), "[Favorites]\r\nAnkara=1\r\nBursa=2\r\n");
    IniFile file(folder.File("Options.ini"));
    FullDiskSettings full(file);
    FavoriteList list;
    list.Load(file.ReadSectionValues("Favorites"));
    list.Add({"Çorum", "3"});
    EXPECT_THROW(list.Save(full), SettingsWriteError);
    EXPECT_EQ(file.ReadSectionValues("Favorites"), (KeyValueList{{"Ankara", "1"}, {"Bursa", "2"}}));
}

}  // namespace
}  // namespace nimbo
