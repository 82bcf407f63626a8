// The removal plan: the installed file set, the path rules and the order of every deletion.
#include "uninstaller/removal_plan.h"

#include <algorithm>
#include <cctype>

#include "base/utf.h"

namespace nimbo::uninstall {
namespace {

void AddPictures(std::vector<std::string>& list, const std::string& folder, const std::vector<std::string>& names) {
    for (const auto& name : names) list.push_back(folder + "\\" + name + ".png");
}

// The moon phases 0 to 27 in the order a directory listing gives them: 0, 1, 10 to 19, 2, 20 to 27, 3 to 9.
std::vector<std::string> MoonNames() {
    std::vector<std::string> names;
    for (int age = 0; age < 28; ++age) names.push_back(std::to_string(age));
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> BuildFileList() {
    const std::string resources = "\\Contents\\Resources";
    std::vector<std::string> list{"\\Contents\\License.txt"};
    AddPictures(list, resources + "\\Big",
                {"Clouds", "Earth", "Few Clouds", "Flurries", "Fog", "Hail", "Haze", "Ice", "Many Clouds", "None",
                 "Rain", "Showers", "Snow", "Snowy Rain", "Sun", "Thunderstorms", "Wind"});
    AddPictures(list, resources + "\\Colorize", {"Base Overlay", "Base", "Mid Overlay", "Mid", "Top Overlay", "Top"});
    AddPictures(list, resources + "\\Moons", MoonNames());
    AddPictures(list, resources + "\\Tiny",
                {"Clouds", "Flurries", "Fog", "Hail", "Ice", "Moon And Clouds", "Moon And Rain", "Moon Few Clouds",
                 "Moon Haze", "Moon"});
    AddPictures(list, resources + "\\Tiny\\Moons", MoonNames());
    AddPictures(list, resources + "\\Tiny",
                {"None", "Rain", "Showers", "Snow", "Snowy Rain", "Sun And Clouds", "Sun And Rain", "Sun Few Clouds",
                 "Sun Haze", "Sun", "Sunny Thunderstorms", "Thunderstorms", "Wind"});
    AddPictures(list, resources + "\\UI", {"Close", "Grid", "Less", "Options", "Reflection"});
    for (const char* file : {"\\Nimbo.exe", "\\License.txt", "\\Options.ini", "\\Uninstall.exe"}) list.push_back(file);
    return list;
}

char32_t UpperCase(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c == 0x131) return U'I';  // dotless i; the dotted capital İ stays itself, as in the file system
    if (c >= 0x100 && c <= 0x137 && c != 0x130) return c & ~char32_t{1};
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
    if (c >= 0x14A && c <= 0x177) return c & ~char32_t{1};
    return c;
}

bool IsAbsolute(const std::string& path) {
    const bool drive =
        path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
    const bool share = path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
    return drive || share;
}

}  // namespace

std::string QuickLaunchFolder(const std::string& appData) {
    return appData.empty() ? std::string() : appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
}

const std::vector<std::string>& RemovalFileList() {
    static const std::vector<std::string> list = BuildFileList();
    return list;
}

const std::vector<std::string>& RemovalFolderList() {
    static const std::vector<std::string> list{"\\Contents",
                                               "\\Contents\\Resources",
                                               "\\Contents\\Resources\\Big",
                                               "\\Contents\\Resources\\Colorize",
                                               "\\Contents\\Resources\\Moons",
                                               "\\Contents\\Resources\\Tiny",
                                               "\\Contents\\Resources\\Tiny\\Moons",
                                               "\\Contents\\Resources\\UI"};
    return list;
}

bool IsWidgetInstalled(const InstallRecord& record, bool widgetExeExists) {
    return !record.widgetExePath.empty() && widgetExeExists && record.version == kWidgetVersion;
}

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (UpperCase(NextCodePoint(a, i)) != UpperCase(NextCodePoint(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}

std::string FolderToEmpty(const InstallRecord& record) {
    const std::string exe = record.path + "\\Nimbo.exe";
    if (record.path.empty() || !IsAbsolute(exe) || !SamePathIgnoringCase(exe, record.widgetExePath)) return {};
    return record.path;
}

RemovalPlan PlanRemoval(const ShellFolders& shell, const std::string& folderToEmpty) {
    RemovalPlan plan;
    // A folder that could not be looked up is skipped: its empty text would put the path at the drive's root.
    for (const std::string* folder : {&shell.desktop, &shell.startup, &shell.quickLaunch}) {
        if (!folder->empty()) plan.shortcutFiles.push_back(*folder + "\\Nimbo!.lnk");
    }
    if (!shell.programs.empty()) {
        plan.startMenuGroup = shell.programs + "\\Nimbo";
        for (const char* name : {"\\Nimbo!.lnk", "\\Nimbo! Anasayfa.url", "\\Kaldır.lnk"}) {
            plan.shortcutFiles.push_back(plan.startMenuGroup + name);
        }
    }
    // The settings the widget keeps for this user, and nothing else of the profile: the folders go only when empty.
    if (!shell.appData.empty()) {
        const std::string maker = shell.appData + "\\Pelvar";
        plan.userSettings = maker + "\\Nimbo\\Options.ini";
        plan.userFolders = {maker + "\\Nimbo", maker};
    }
    if (!folderToEmpty.empty()) {
        const auto& files = RemovalFileList();
        for (auto it = files.rbegin(); it != files.rend(); ++it) plan.files.push_back(folderToEmpty + *it);
        const auto& folders = RemovalFolderList();
        for (auto it = folders.rbegin(); it != folders.rend(); ++it) plan.folders.push_back(folderToEmpty + *it);
        plan.installFolder = folderToEmpty;
        if (!shell.programFiles.empty()) plan.makerFolder = shell.programFiles + "\\Pelvar";
    }
    plan.keys = {
        {"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Nimbo.exe", false},
        {"SOFTWARE\\Pelvar\\Nimbo", false},
        {"SOFTWARE\\Pelvar", true},
        {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Nimbo", false},
    };
    return plan;
}

void CarryOut(const RemovalPlan& plan, RemovalActions& actions) {
    for (const auto& shortcut : plan.shortcutFiles) actions.RemoveFile(shortcut);
    if (!plan.startMenuGroup.empty()) actions.RemoveFolder(plan.startMenuGroup);
    if (!plan.userSettings.empty()) actions.RemoveFile(plan.userSettings);
    for (const auto& folder : plan.userFolders) actions.RemoveFolder(folder);
    if (!plan.installFolder.empty()) {
        actions.BeginItems(static_cast<int>(plan.files.size() + plan.folders.size()));
        for (const auto& file : plan.files) {
            actions.RemoveFile(file);
            actions.ItemDone(file);
        }
        for (const auto& folder : plan.folders) {
            actions.RemoveFolder(folder);
            actions.ItemDone(folder);
        }
        actions.RemoveFolder(plan.installFolder);
        if (!plan.makerFolder.empty()) actions.RemoveFolder(plan.makerFolder);
    }
    for (const auto& key : plan.keys) actions.RemoveKey(key);
}

std::string CommandLineFor(const std::string& program, const std::string& argument) {
    return "\"" + program + "\" " + argument;
}

std::string FolderWithSeparator(const std::string& path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace nimbo::uninstall
