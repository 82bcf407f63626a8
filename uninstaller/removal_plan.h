// What the uninstaller removes and in which order: shortcuts, the installed files and folders, the registry keys.
#pragma once

#include <string>
#include <vector>

namespace nimbo::uninstall {

// The shell folders the removal needs, UTF-8; an empty text is a folder that could not be looked up.
struct ShellFolders {
    std::string desktop;
    std::string programs;  // the Start menu's program folder
    std::string startup;
    std::string quickLaunch;
    std::string programFiles;
    std::string appData;  // the user's roaming application data, where the widget keeps the user's settings
};

// Quick Launch lies under the application-data folder; none when that folder is unknown.
std::string QuickLaunchFolder(const std::string& appData);

// The 112 installed files, relative to the installation folder and each beginning with a backslash, in the order
// the installation lists them; they are removed from the last to the first.
const std::vector<std::string>& RemovalFileList();
// The 8 folders of the installation below its own folder, removed from the last to the first.
const std::vector<std::string>& RemovalFolderList();

// What the installation recorded under "SOFTWARE\Pelvar\Nimbo".
struct InstallRecord {
    std::string widgetExePath;  // the key's default value
    std::string path;           // "Path": the installation folder without a trailing backslash
    std::string version;        // "Version"
};

inline constexpr char kWidgetVersion[] = "1.60";

// Installed when the widget's executable is named, exists and the version is this uninstaller's one.
bool IsWidgetInstalled(const InstallRecord& record, bool widgetExeExists);

// The folder whose files may be deleted: "Path" only when it is an absolute folder and "Path\Nimbo.exe" is the
// executable the key names (letter case aside). Empty otherwise, and then no file or folder is removed.
std::string FolderToEmpty(const InstallRecord& record);

// Windows' comparison of file names: equal apart from letter case (simple upper-casing, not the Turkish i rule).
bool SamePathIgnoringCase(const std::string& a, const std::string& b);

// A registry key under HKEY_LOCAL_MACHINE and how it goes.
struct KeyRemoval {
    std::string path;
    bool onlyIfEmpty;  // false: with everything below it
    bool operator==(const KeyRemoval& other) const { return path == other.path && onlyIfEmpty == other.onlyIfEmpty; }
};

struct RemovalPlan {
    std::vector<std::string> shortcutFiles;  // deleted in order; none for a folder that could not be looked up
    std::string startMenuGroup;              // removed when empty; empty text: nothing to remove
    std::string userSettings;                // the user's own Options.ini; empty text: none
    std::vector<std::string> userFolders;    // its folder, then the maker's, each removed when empty
    std::vector<std::string> files;          // full paths, in deletion order (last installed first)
    std::vector<std::string> folders;        // full paths, in removal order (deepest first)
    std::string installFolder;               // removed when empty, after its folders; empty text: nothing
    std::string makerFolder;                 // "Program Files\Pelvar", removed when empty; empty text: nothing
    std::vector<KeyRemoval> keys;            // in order
};

// `folderToEmpty` as given by FolderToEmpty; empty: shortcuts and keys only.
RemovalPlan PlanRemoval(const ShellFolders& shell, const std::string& folderToEmpty);

// The operations a removal needs; the Windows side deletes, a test records. Results are not reported: a removal
// goes on whatever fails.
class RemovalActions {
public:
    virtual ~RemovalActions() = default;
    virtual void RemoveFile(const std::string& path) = 0;
    virtual void RemoveFolder(const std::string& path) = 0;  // only an empty folder goes
    virtual void RemoveKey(const KeyRemoval& key) = 0;
    // The progress shown for files and folders: `total` items are announced, then each one as it is done.
    virtual void BeginItems(int total) = 0;
    virtual void ItemDone(const std::string& path) = 0;
};

// Shortcuts and the user's settings, then files and folders, then keys.
void CarryOut(const RemovalPlan& plan, RemovalActions& actions);

// The command line that starts `program` with one argument: the program's path in quotes, so that a folder with
// a blank (C:\Program Files) is never read as a shorter program name.
std::string CommandLineFor(const std::string& program, const std::string& argument);

// The folder part of a path with its trailing backslash ("C:\a\b.exe" -> "C:\a\"); empty when there is none.
std::string FolderWithSeparator(const std::string& path);

}  // namespace nimbo::uninstall
