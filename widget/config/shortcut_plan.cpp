// The shortcut plan: folder + "\Nimbo!.lnk" for each ticked or unticked box.
#include "widget/config/shortcut_plan.h"

namespace nimbo {

std::vector<ShortcutStep> PlanShortcuts(const ShortcutFolders& folders, bool desktop, bool startup, bool quickLaunch,
                                        const std::function<bool(const std::string& path)>& exists) {
    const std::string quickLaunchFolder = folders.appData.empty() ? "" : folders.appData + kQuickLaunchSubfolder;
    const std::pair<const std::string*, bool> wanted[] = {
        {&folders.desktop, desktop}, {&folders.startup, startup}, {&quickLaunchFolder, quickLaunch}};
    std::vector<ShortcutStep> steps;
    for (const auto& [folder, ticked] : wanted) {
        if (folder->empty()) continue;
        const std::string path = *folder + "\\" + kShortcutFileName;
        const bool present = exists(path);
        if (ticked && !present) steps.push_back({ShortcutStep::Kind::Create, path});
        if (!ticked && present) steps.push_back({ShortcutStep::Kind::Delete, path});
    }
    return steps;
}

std::string ShortcutsNotMadeMessage(const std::vector<std::string>& paths) {
    std::string message = "Kısayol oluşturulamadı:";
    for (const std::string& path : paths) message += "\r\n" + path;
    return message;
}

}  // namespace nimbo
