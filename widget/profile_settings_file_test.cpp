// A user's settings in the profile: read from the installation until the first write makes the copy.
#include "widget/profile_settings_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"
#include "widget/settings_text.h"

namespace nimbo::testing {
namespace {

class ProfileSettings : public ::testing::Test {
protected:
    ProfileSettingsFile Open() {
        return ProfileSettingsFile(std::make_unique<IniFile>(m_installed), std::make_unique<IniFile>(m_user));
    }

    TempFolder m_folder;
    std::string m_installed = m_folder.File("Nimbo/Options.ini");
    std::string m_user = m_folder.File("AppData/Pelvar/Nimbo/Options.ini");
};

TEST_F(ProfileSettings, TheFirstWriteCopiesTheUsersPartOfAnAnsiInstalledFileAsUtf16) {
    std::filesystem::create_directories(m_folder.Path() / "Nimbo");
    // An installation whose one file served every user before, in Windows-1254.
    const std::string installed =
        "; Nimbo! settings\r\n[Servers]\r\nWeather=http://127.0.0.1:1\r\n[Appearance]\r\nLeft=50\r\n"
        "[Favorites]\r\n\xDDzmir=311046\r\n[CitiesTU]\r\nAdana=325363\r\n";
    WriteBytes(m_installed, installed);
    auto settings = Open();
    EXPECT_EQ(settings.FileName(), m_user);
    EXPECT_EQ(settings.ReadInteger("Appearance", "Left", 300), 50);
    EXPECT_EQ(settings.ReadSection("Favorites"), std::vector<std::string>{"İzmir"});
    EXPECT_FALSE(std::filesystem::exists(m_user));

    EXPECT_TRUE(settings.WriteString("Location", "CityName", "Şanlıurfa"));
    EXPECT_EQ(ReadBytes(m_user), EncodeSettingsFile("; Nimbo! settings\r\n[Appearance]\r\nLeft=50\r\n[Favorites]\r\n"
                                                    "İzmir=311046\r\n\r\n[Location]\r\nCityName=Şanlıurfa\r\n"));
    EXPECT_EQ(ReadBytes(m_installed), installed);
}

TEST_F(ProfileSettings, AnExistingCopyIsUsedAsItIsAndTheMachinesSectionsComeFromTheInstallation) {
    std::filesystem::create_directories(m_folder.Path() / "Nimbo");
    WriteBytes(m_installed,
               EncodeSettingsFile("[Servers]\r\nWeather=http://new\r\n[Appearance]\r\nLeft=50\r\nTop=70\r\n"
                                  "[CitiesTU]\r\nAdana=325363\r\nİzmir=311046\r\n"));
    std::filesystem::create_directories(m_folder.Path() / "AppData/Pelvar/Nimbo");
    WriteBytes(m_user, EncodeSettingsFile("[Appearance]\r\nLeft=10\r\n[Servers]\r\nWeather=http://old\r\n"
                                          "[citiestu]\r\nEski=1\r\n"));
    auto settings = Open();
    EXPECT_EQ(settings.ReadInteger("Appearance", "Left", 300), 10);
    EXPECT_EQ(settings.ReadInteger("Appearance", "Top", 300), 300);
    EXPECT_EQ(settings.ReadString("servers", "Weather", ""), "http://new");
    EXPECT_EQ(settings.ReadSection("CitiesTU"), (std::vector<std::string>{"Adana", "İzmir"}));

    // The machine's sections are not the user's to change.
    const std::string user = ReadBytes(m_user);
    EXPECT_FALSE(settings.WriteString("Servers", "Weather", "http://mine"));
    settings.EraseSection("CitiesTU");
    EXPECT_EQ(ReadBytes(m_user), user);
    EXPECT_EQ(settings.ReadString("Servers", "Weather", ""), "http://new");

    settings.EraseSection("Appearance");
    EXPECT_EQ(settings.ReadInteger("Appearance", "Left", 300), 300);
    EXPECT_EQ(settings.ReadString("Servers", "Weather", ""), "http://new");
}

TEST_F(ProfileSettings, WithNoInstalledFileTheCopyStartsEmptyAndAFailedCopyIsAWriteError) {
    auto settings = Open();
    EXPECT_EQ(settings.ReadInteger("Appearance", "Left", 300), 300);
    settings.WriteBool("General", "FirstUsage", false);
    EXPECT_EQ(ReadBytes(m_user), EncodeSettingsFile("[General]\r\nFirstUsage=0\r\n"));

    // A file where the profile's folder should be.
    m_user = m_folder.File("blocked/Options.ini");
    WriteBytes(m_folder.File("blocked"), "");
    auto blocked = Open();
    EXPECT_THROW(blocked.WriteBool("General", "FirstUsage", false), SettingsWriteError);
}

}  // namespace
}  // namespace nimbo::testing
