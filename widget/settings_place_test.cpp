// Where the settings file lives for each kind of installation and system.
#include "widget/settings_place.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(SettingsPlace, InstallationsUnderProgramFilesKeepEachUsersSettingsInTheProfileFromVistaOn) {
    const std::vector<std::string> programFiles = {"C:\\Program Files", "C:\\Program Files (x86)", ""};
    const std::string appData = "C:\\Users\\Ayşe\\AppData\\Roaming";
    const std::string profileFile = appData + "\\Pelvar\\Nimbo\\Options.ini";
    struct Case {
        const char* what;
        std::string modulePath;
        bool vista;
        std::string appData;
        std::string installedFile;
        std::string userFile;
    };
    const Case cases[] = {
        {"installed, Vista+", "C:\\Program Files\\Pelvar\\Nimbo\\Nimbo.exe", true, appData,
         "C:\\Program Files\\Pelvar\\Nimbo\\Options.ini", profileFile},
        {"the x86 folder", "C:\\Program Files (x86)\\Pelvar\\Nimbo\\Nimbo.exe", true, appData,
         "C:\\Program Files (x86)\\Pelvar\\Nimbo\\Options.ini", profileFile},
        {"letter case and slashes", "c:/PROGRAM FILES/Nimbo/Nimbo.exe", true, appData + "\\",
         "c:/PROGRAM FILES/Nimbo\\Options.ini", profileFile},
        {"Windows XP", "C:\\Program Files\\Pelvar\\Nimbo\\Nimbo.exe", false, appData,
         "C:\\Program Files\\Pelvar\\Nimbo\\Options.ini", ""},
        {"portable copy", "D:\\Araçlar\\Nimbo\\Nimbo.exe", true, appData, "D:\\Araçlar\\Nimbo\\Options.ini", ""},
        {"a name that only begins alike", "C:\\Program Files2\\Nimbo.exe", true, appData,
         "C:\\Program Files2\\Options.ini", ""},
        {"a network share", "\\\\server\\Program Files\\Nimbo.exe", true, appData,
         "\\\\server\\Program Files\\Options.ini", ""},
        {"no profile folder", "C:\\Program Files\\Pelvar\\Nimbo\\Nimbo.exe", true, "",
         "C:\\Program Files\\Pelvar\\Nimbo\\Options.ini", ""},
    };
    for (const Case& c : cases) {
        const SettingsPlace place = DecideSettingsPlace({c.modulePath, c.vista, programFiles, c.appData});
        EXPECT_EQ(place.installedFile, c.installedFile) << c.what;
        EXPECT_EQ(place.userFile, c.userFile) << c.what;
    }
}

TEST(SettingsPlace, AFolderHoldsItselfAndWhatLiesBelowIt) {
    EXPECT_TRUE(IsInFolder("C:\\Program Files", "C:\\Program Files\\"));
    EXPECT_TRUE(IsInFolder("C:\\Program Files\\A", "c:\\program files"));
    EXPECT_FALSE(IsInFolder("C:\\Program Files (x86)\\A", "C:\\Program Files"));
    EXPECT_FALSE(IsInFolder("C:\\Program", "C:\\Program Files"));
    EXPECT_FALSE(IsInFolder("C:\\A", ""));
}

}  // namespace
}  // namespace nimbo
