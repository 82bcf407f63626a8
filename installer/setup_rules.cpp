// The setup's decisions on its command line and its folder.
#include "installer/setup_rules.h"

#include "uninstaller/removal_plan.h"

namespace nimbo::setup {

std::optional<std::string> ServerOptionText(std::string_view commandLine) {
    constexpr std::string_view kOption = "/server=";
    for (size_t at = 0; at + kOption.size() <= commandLine.size(); ++at) {
        bool matches = true;
        for (size_t i = 0; i < kOption.size() && matches; ++i) {
            char c = commandLine[at + i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            matches = c == kOption[i];
        }
        if (!matches) continue;
        const std::string_view rest = commandLine.substr(at + kOption.size());
        if (!rest.empty() && rest.front() == '"') {
            const size_t close = rest.find('"', 1);
            return std::string(rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        }
        return std::string(rest.substr(0, rest.find_first_of(" \t")));
    }
    return std::nullopt;
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
    std::string parent = folder;
    while (!parent.empty() && parent.back() == '\\') parent.pop_back();
    if (parent.empty()) return false;
    // Compared at each separator: a letter's upper case may be longer or shorter in UTF-8.
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
        if (at + 1 < path.size() && uninstall::SamePathIgnoringCase(path.substr(0, at), parent)) return true;
    }
    return false;
}

FolderPermissions DecideFolderPermissions(const std::string& installFolder,
                                          const std::vector<std::string>& programFilesFolders, bool holdsOnlyNimbo) {
    for (const auto& programFiles : programFilesFolders) {
        if (IsInsideFolder(installFolder, programFiles)) return FolderPermissions::Inherited;
    }
    return holdsOnlyNimbo ? FolderPermissions::Own : FolderPermissions::Refused;
}

}  // namespace nimbo::setup
