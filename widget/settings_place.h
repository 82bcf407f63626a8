// Where Options.ini lives: beside the program, or for each user in the profile when the program is installed
// where users may not write.
#pragma once

#include <string>
#include <vector>

namespace nimbo {

inline constexpr char kSettingsFileName[] = "Options.ini";
// Below the user's roaming application-data folder.
inline constexpr char kProfileSettingsFolder[] = "Pelvar\\Nimbo";

// What the system says, asked once at start.
struct SystemFolders {
    std::string modulePath;                        // the program's own file, in its long form
    bool vistaOrLater = false;                     // Windows 6.0 or later
    std::vector<std::string> programFilesFolders;  // every Program Files folder of the machine; empty ones ignored
    std::string appDataFolder;                     // the user's roaming application data; empty if unknown
};

struct SettingsPlace {
    std::string installedFile;  // Options.ini beside the program
    std::string userFile;       // the user's own copy, or empty when the installed file is the user's
};

// On Windows XP, and for a copy outside the Program Files folders (a portable one), the settings are the file
// beside the program, as they always were. From Vista on, Program Files is the administrators' alone, so an
// installation there keeps each user's settings in that user's profile.
SettingsPlace DecideSettingsPlace(const SystemFolders& system);

// Whether `path` is `folder` or lies below it; Windows paths, letter case ignored.
bool IsInFolder(const std::string& path, const std::string& folder);

}  // namespace nimbo
