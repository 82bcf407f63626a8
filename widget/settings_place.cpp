// The settings file's place, from the program's folder and the system's folders.
#include "widget/settings_place.h"

#include <algorithm>

#include "widget/start_up.h"

namespace nimbo {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char FoldPathChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : (c == '/' ? '\\' : c); }

std::string WithoutTrailingSeparators(std::string path) {
    while (!path.empty() && IsSeparator(path.back())) path.pop_back();
    return path;
}

}  // namespace

bool IsInFolder(const std::string& path, const std::string& folder) {
    const std::string base = WithoutTrailingSeparators(folder);
    if (base.empty() || path.size() < base.size()) return false;
    if (!std::equal(base.begin(), base.end(), path.begin(),
                    [](char a, char b) { return FoldPathChar(a) == FoldPathChar(b); })) {
        return false;
    }
    return path.size() == base.size() || IsSeparator(path[base.size()]);
}

SettingsPlace DecideSettingsPlace(const SystemFolders& system) {
    const std::string programFolder = ExecutableFolder(system.modulePath);
    SettingsPlace place{programFolder + "\\" + kSettingsFileName, ""};
    const bool underProgramFiles =
        std::any_of(system.programFilesFolders.begin(), system.programFilesFolders.end(),
                    [&](const std::string& folder) { return IsInFolder(programFolder, folder); });
    const std::string appData = WithoutTrailingSeparators(system.appDataFolder);
    if (system.vistaOrLater && underProgramFiles && !appData.empty()) {
        place.userFile = appData + "\\" + kProfileSettingsFolder + "\\" + kSettingsFileName;
    }
    return place;
}

}  // namespace nimbo
