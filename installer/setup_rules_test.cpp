// The setup's command line and the permissions of the folder it installs into.
#include "installer/setup_rules.h"

#include <gtest/gtest.h>

namespace nimbo::setup {
namespace {

TEST(SetupRules, TheServerOptionIsReadFromTheWholeCommandLine) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"\"C:\\Temp\\Setup.exe\" /S /SERVER=http://127.0.0.1:8640", "http://127.0.0.1:8640"},
        {"Setup.exe /SERVER=http://a:1 /D=C:\\Nimbo", "http://a:1"},
        {"Setup.exe /server=\" http://a:1/ \" /S", " http://a:1/ "},
        {"Setup.exe \"/SERVER=http://a:1\"", "http://a:1\""},
        {"Setup.exe /SERVER=", ""},
        {"Setup.exe /SERVER=\"http://a:1", "http://a:1"},
        {"Setup.exe /S", std::nullopt},
        {"Setup.exe /SERVERS=http://a", std::nullopt},
    };
    for (const auto& [commandLine, text] : cases) EXPECT_EQ(ServerOptionText(commandLine), text) << commandLine;
}

TEST(SetupRules, InsideAFolderMeansBelowItWhateverTheLetterCase) {
    EXPECT_TRUE(IsInsideFolder("C:\\Program Files\\Pelvar\\Nimbo", "C:\\Program Files"));
    EXPECT_TRUE(IsInsideFolder("c:\\PROGRAM FILES\\Pelvar\\Nimbo", "C:\\Program Files\\"));
    EXPECT_TRUE(IsInsideFolder("C:\\Programlar\\Pelvar", "c:\\PROGRAMLAR"));
    EXPECT_FALSE(IsInsideFolder("C:\\Program Files (x86)\\Pelvar\\Nimbo", "C:\\Program Files"));
    EXPECT_FALSE(IsInsideFolder("C:\\Program Files", "C:\\Program Files"));
    EXPECT_FALSE(IsInsideFolder("C:\\Program Files\\", "C:\\Program Files"));
    EXPECT_FALSE(IsInsideFolder("D:\\Araçlar\\Nimbo", "C:\\Program Files"));
    EXPECT_FALSE(IsInsideFolder("C:\\Nimbo", ""));
}

TEST(SetupRules, OnlyAFolderOutsideProgramFilesGetsPermissionsOfItsOwn) {
    const std::vector<std::string> programFiles{"C:\\Program Files", "C:\\Program Files (x86)"};
    struct Case {
        const char* folder;
        bool holdsOnlyNimbo;
        FolderPermissions expected;
    };
    for (const Case& c : {
             Case{"C:\\Program Files\\Pelvar\\Nimbo", false, FolderPermissions::Inherited},
             Case{"C:\\Program Files (x86)\\Pelvar\\Nimbo", true, FolderPermissions::Inherited},
             Case{"D:\\Araçlar\\Nimbo", true, FolderPermissions::Own},
             Case{"C:\\Users\\Ali\\Belgeler", false, FolderPermissions::Refused},
             Case{"C:\\", false, FolderPermissions::Refused},
         }) {
        EXPECT_EQ(DecideFolderPermissions(c.folder, programFiles, c.holdsOnlyNimbo), c.expected) << c.folder;
    }
}

}  // namespace
}  // namespace nimbo::setup
