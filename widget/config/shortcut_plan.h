// Which shortcut files to create or delete so that they match the options dialog's three check boxes.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace nimbo {

inline constexpr char kShortcutFileName[] = "Nimbo!.lnk";
inline constexpr char kQuickLaunchSubfolder[] = "\\Microsoft\\Internet Explorer\\Quick Launch";

// The special folders as looked up; empty when the system could not name one.
struct ShortcutFolders {
    std::string desktop;
    std::string startup;
    std::string appData;
};

struct ShortcutStep {
    enum class Kind { Create, Delete } kind;
    std::string path;
    bool operator==(const ShortcutStep& other) const { return kind == other.kind && path == other.path; }
};

// "Kısayol oluşturulamadı:" and the shortcuts' paths, one a line.
std::string ShortcutsNotMadeMessage(const std::vector<std::string>& paths);

// In the order desktop, Startup, Quick Launch: a ticked box without its file creates it, an unticked box with
// its file deletes it; an existing file is left as it is. A folder that could not be looked up is skipped.
std::vector<ShortcutStep> PlanShortcuts(const ShortcutFolders& folders, bool desktop, bool startup, bool quickLaunch,
                                        const std::function<bool(const std::string& path)>& exists);

}  // namespace nimbo
