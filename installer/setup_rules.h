// What Setup.exe decides before it writes anything: the data service named on its command line, and whether the
// folder it installs into needs permissions of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo::setup {

// The text given to /SERVER= (any letter case) on a whole command line: between quotes when it starts with one,
// else up to the next blank. No value when the option is not there.
std::optional<std::string> ServerOptionText(std::string_view commandLine);

// Whether `path` lies inside `folder`, letter case aside as Windows compares file names.
bool IsInsideFolder(const std::string& path, const std::string& folder);

enum class FolderPermissions {
    Inherited,  // inside Program Files: administrators and the system alone may change it already
    Own,        // outside: the folder gets permissions of its own before anything is copied into it
    Refused,    // outside, and it holds files of something else: their permissions are not the setup's to change
};

// `holdsOnlyNimbo`: the folder is missing, empty, or holds Nimbo.exe of an earlier installation.
FolderPermissions DecideFolderPermissions(const std::string& installFolder,
                                          const std::vector<std::string>& programFilesFolders, bool holdsOnlyNimbo);

}  // namespace nimbo::setup
