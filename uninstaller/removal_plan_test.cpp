// The removal plan: the installed file set, the path rules that decide what may go, and the order of removal.
#include "uninstaller/removal_plan.h"

#include <gtest/gtest.h>

#include <set>

namespace nimbo::uninstall {
namespace {

TEST(RemovalPlan, FileListHoldsTheInstalledSetInItsOrder) {
    const auto& files = RemovalFileList();
    ASSERT_EQ(files.size(), 112u);
    EXPECT_EQ(std::set<std::string>(files.begin(), files.end()).size(), 112u) << "a file is listed twice";
    const std::pair<size_t, const char*> pinned[] = {
        {0, "\\Contents\\License.txt"},
        {1, "\\Contents\\Resources\\Big\\Clouds.png"},
        {17, "\\Contents\\Resources\\Big\\Wind.png"},
        {18, "\\Contents\\Resources\\Colorize\\Base Overlay.png"},
        {24, "\\Contents\\Resources\\Moons\\0.png"},
        {25, "\\Contents\\Resources\\Moons\\1.png"},
        {26, "\\Contents\\Resources\\Moons\\10.png"},
        {36, "\\Contents\\Resources\\Moons\\2.png"},
        {37, "\\Contents\\Resources\\Moons\\20.png"},
        {51, "\\Contents\\Resources\\Moons\\9.png"},
        {52, "\\Contents\\Resources\\Tiny\\Clouds.png"},
        {61, "\\Contents\\Resources\\Tiny\\Moon.png"},
        {62, "\\Contents\\Resources\\Tiny\\Moons\\0.png"},
        {89, "\\Contents\\Resources\\Tiny\\Moons\\9.png"},
        {90, "\\Contents\\Resources\\Tiny\\None.png"},
        {91, "\\Contents\\Resources\\Tiny\\Rain.png"},
        {102, "\\Contents\\Resources\\Tiny\\Wind.png"},
        {103, "\\Contents\\Resources\\UI\\Close.png"},
        {107, "\\Contents\\Resources\\UI\\Reflection.png"},
        {108, "\\Nimbo.exe"},
        {109, "\\License.txt"},
        {110, "\\Options.ini"},
        {111, "\\Uninstall.exe"},
    };
    for (const auto& [index, path] : pinned) EXPECT_EQ(files[index], path) << "index " << index;
}

TEST(RemovalPlan, InstalledOnlyWithAnExistingExecutableAndThisVersion) {
    const InstallRecord installed{"C:\\Nimbo\\Nimbo.exe", "C:\\Nimbo", "1.60"};
    EXPECT_TRUE(IsWidgetInstalled(installed, true));
    EXPECT_FALSE(IsWidgetInstalled(installed, false));
    for (const char* version : {"1.50", "1.6", "1.60 ", "", "1.61"}) {
        EXPECT_FALSE(IsWidgetInstalled({installed.widgetExePath, installed.path, version}, true)) << version;
    }
    EXPECT_FALSE(IsWidgetInstalled({"", "C:\\Nimbo", "1.60"}, true));
}

TEST(RemovalPlan, OnlyTheFolderOfTheRecordedExecutableIsEmptied) {
    const std::pair<InstallRecord, std::string> cases[] = {
        {{"C:\\Program Files\\Pelvar\\Nimbo\\Nimbo.exe", "C:\\Program Files\\Pelvar\\Nimbo", "1.60"},
         "C:\\Program Files\\Pelvar\\Nimbo"},
        {{"c:\\PROGRAM FILES\\pelvar\\nimbo\\NIMBO.EXE", "C:\\Program Files\\Pelvar\\Nimbo", "1.60"},
         "C:\\Program Files\\Pelvar\\Nimbo"},
        {{"C:\\Programlar\\Çiçek\\Nimbo.exe", "c:\\PROGRAMLAR\\çİÇEK", "1.60"}, ""},  // i and İ differ
        {{"C:\\Programlar\\ÇİÇEK\\Nimbo.exe", "c:\\programlar\\çİçek", "1.60"}, "c:\\programlar\\çİçek"},
        {{"\\\\server\\share\\Nimbo\\Nimbo.exe", "\\\\server\\share\\Nimbo", "1.60"}, "\\\\server\\share\\Nimbo"},
        {{"C:\\Windows\\Nimbo\\Nimbo.exe", "C:\\Windows", "1.60"}, ""},  // another folder
        {{"C:\\Nimbo\\Nimbo.exe", "C:\\Nimbo\\", "1.60"}, ""},           // trailing backslash
        {{"C:\\Nimbo\\Nimbo.exe", "", "1.60"}, ""},                      // no Path
        {{"Nimbo\\Nimbo.exe", "Nimbo", "1.60"}, ""},                     // relative
        {{"\\Nimbo.exe", "", "1.60"}, ""},                               // the drive's root
        {{"C:\\Nimbo\\Nimbo.exe.bak", "C:\\Nimbo", "1.60"}, ""},
    };
    for (const auto& [record, expected] : cases) {
        EXPECT_EQ(FolderToEmpty(record), expected) << record.widgetExePath << " / " << record.path;
    }
}

// Records what a removal does, one line per operation.
class RecordingActions : public RemovalActions {
public:
    std::vector<std::string> log;
    std::vector<std::string> shown;  // the progress list, newest on top
    int total = -1;
    void RemoveFile(const std::string& path) override { log.push_back("file " + path); }
    void RemoveFolder(const std::string& path) override { log.push_back("folder " + path); }
    void RemoveKey(const KeyRemoval& key) override {
        log.push_back((key.onlyIfEmpty ? "empty key " : "key ") + key.path);
    }
    void BeginItems(int count) override { total = count; }
    void ItemDone(const std::string& path) override { shown.insert(shown.begin(), path); }
};

const ShellFolders kShell{"C:\\U\\Desktop",    "C:\\U\\Start\\Programs",
                          "C:\\U\\Startup",    QuickLaunchFolder("C:\\U\\AppData"),
                          "C:\\Program Files", "C:\\U\\AppData"};
const std::string kFolder = "C:\\Program Files\\Pelvar\\Nimbo";

TEST(RemovalPlan, ShortcutsAndTheUsersSettingsThenFilesAndFoldersThenKeys) {
    RecordingActions actions;
    CarryOut(PlanRemoval(kShell, kFolder), actions);
    const std::vector<std::string> head{
        "file C:\\U\\Desktop\\Nimbo!.lnk",
        "file C:\\U\\Startup\\Nimbo!.lnk",
        "file C:\\U\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\Nimbo!.lnk",
        "file C:\\U\\Start\\Programs\\Nimbo\\Nimbo!.lnk",
        "file C:\\U\\Start\\Programs\\Nimbo\\Nimbo! Anasayfa.url",
        "file C:\\U\\Start\\Programs\\Nimbo\\Kaldır.lnk",
        "folder C:\\U\\Start\\Programs\\Nimbo",
        "file C:\\U\\AppData\\Pelvar\\Nimbo\\Options.ini",
        "folder C:\\U\\AppData\\Pelvar\\Nimbo",
        "folder C:\\U\\AppData\\Pelvar",
        "file " + kFolder + "\\Uninstall.exe",
        "file " + kFolder + "\\Options.ini",
    };
    ASSERT_EQ(actions.log.size(), 10u + 120 + 2 + 4);
    EXPECT_EQ(std::vector<std::string>(actions.log.begin(), actions.log.begin() + 12), head);
    const std::vector<std::string> tail{
        "folder " + kFolder + "\\Contents\\Resources\\UI",
        "folder " + kFolder + "\\Contents\\Resources\\Tiny\\Moons",
        "folder " + kFolder + "\\Contents\\Resources\\Tiny",
        "folder " + kFolder + "\\Contents\\Resources\\Moons",
        "folder " + kFolder + "\\Contents\\Resources\\Colorize",
        "folder " + kFolder + "\\Contents\\Resources\\Big",
        "folder " + kFolder + "\\Contents\\Resources",
        "folder " + kFolder + "\\Contents",
        "folder " + kFolder,
        "folder C:\\Program Files\\Pelvar",
        "key Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Nimbo.exe",
        "key SOFTWARE\\Pelvar\\Nimbo",
        "empty key SOFTWARE\\Pelvar",
        "key Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nimbo",
    };
    EXPECT_EQ(std::vector<std::string>(actions.log.end() - tail.size(), actions.log.end()), tail);
    EXPECT_EQ(actions.log[10 + 111], "file " + kFolder + "\\Contents\\License.txt");
    // The page's list: 120 lines, the last item on top, the first deleted file at the bottom.
    EXPECT_EQ(actions.total, 120);
    ASSERT_EQ(actions.shown.size(), 120u);
    EXPECT_EQ(actions.shown.front(), kFolder + "\\Contents");
    EXPECT_EQ(actions.shown.back(), kFolder + "\\Uninstall.exe");
    EXPECT_EQ(actions.shown[120 - 5], kFolder + "\\Contents\\Resources\\UI\\Reflection.png");
}

TEST(RemovalPlan, WithoutAFolderToEmptyOnlyShortcutsAndKeysGo) {
    RecordingActions actions;
    CarryOut(PlanRemoval(kShell, ""), actions);
    EXPECT_EQ(actions.log.size(), 10u + 4);
    EXPECT_EQ(actions.total, -1) << "the progress bar is touched";
    EXPECT_TRUE(actions.shown.empty());
}

TEST(RemovalPlan, FoldersThatCouldNotBeLookedUpAreSkipped) {
    RecordingActions actions;
    CarryOut(PlanRemoval({"", "", "C:\\U\\Startup", QuickLaunchFolder(""), ""}, kFolder), actions);
    for (const auto& line : actions.log) {
        EXPECT_EQ(line.find(" \\"), std::string::npos) << "a path at the drive's root: " << line;
    }
    EXPECT_EQ(actions.log.front(), "file C:\\U\\Startup\\Nimbo!.lnk");
    EXPECT_EQ(actions.log[1], "file " + kFolder + "\\Uninstall.exe");
    EXPECT_EQ(actions.log[1 + 120], "folder " + kFolder) << "the install folder is still removed";
    EXPECT_EQ(actions.log[1 + 120 + 1], "key Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Nimbo.exe")
        << "no maker folder without Program Files";
}

TEST(RemovalPlan, ProgramsAreStartedByTheirQuotedPathInTheirOwnFolder) {
    EXPECT_EQ(CommandLineFor("C:\\Program Files\\Pelvar\\Nimbo\\Nimbo.exe", "-exit"),
              "\"C:\\Program Files\\Pelvar\\Nimbo\\Nimbo.exe\" -exit");
    EXPECT_EQ(FolderWithSeparator("C:\\Program Files\\Pelvar\\Nimbo\\Nimbo.exe"), "C:\\Program Files\\Pelvar\\Nimbo\\");
    EXPECT_EQ(FolderWithSeparator("C:\\Temp\\\\~ovx.tmp"), "C:\\Temp\\\\");
    EXPECT_EQ(FolderWithSeparator("Nimbo.exe"), "");
}

}  // namespace
}  // namespace nimbo::uninstall
