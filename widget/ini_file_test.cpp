// The portable settings backend against the settings-file suite, plus what only it decides.
#include "widget/ini_file.h"

#include <gtest/gtest.h>

#include "tests/support/settings_file_contract.h"
#include "tests/support/temp_folder.h"
#include "widget/settings_text.h"

namespace nimbo::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Portable, SettingsFileContract,
                         ::testing::Values(SettingsBackend{
                             "IniFile", [](const std::string& path) { return std::make_unique<IniFile>(path); }}),
                         BackendName);

TEST(IniFile, NewKeysFollowTheLastKeyOfTheirSectionAndNewSectionsGoLast) {
    TempFolder folder;
    const std::string path = folder.File("Options.ini");
    WriteBytes(path, "[General]\r\nAutoUpdate=1\r\n\r\n[Location]\r\nCityID=TUXX0014\r\n");
    IniFile file(path);
    file.WriteString("General", "FadeEffect", "0");
    file.WriteString("Appearance", "Left", "300");
    EXPECT_EQ(
        ReadBytes(path),
        EncodeSettingsFile("[General]\r\nAutoUpdate=1\r\nFadeEffect=0\r\n\r\n[Location]\r\nCityID=TUXX0014\r\n\r\n"
                           "[Appearance]\r\nLeft=300\r\n"));
}

TEST(IniFile, ReadOnlyFileRefusesWritesAndErasesAndStaysAsItWas) {
    // The owner-write bit stands for the Windows read-only attribute, even for a process run as root.
    TempFolder folder;
    const std::string path = folder.File("Options.ini");
    WriteBytes(path, "[General]\r\nFirstUsage=1\r\n");
    SetReadOnly(path, true);
    IniFile file(path);
    EXPECT_THROW(file.WriteBool("General", "FirstUsage", false), SettingsWriteError);
    EXPECT_THROW(file.EraseSection("General"), SettingsWriteError);
    EXPECT_TRUE(file.ReadBool("General", "FirstUsage", false));
    SetReadOnly(path, false);
    EXPECT_EQ(ReadBytes(path), "[General]\r\nFirstUsage=1\r\n");
}

}  // namespace
}  // namespace nimbo::testing
