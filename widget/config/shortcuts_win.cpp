// Shortcut files through the shell's link object, with wide paths from end to end.
#include "widget/config/shortcuts_win.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "widget/config/shortcut_plan.h"

namespace nimbo {

std::wstring GetSpecialFolder(HWND owner, int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(owner, path, csidl, FALSE)) return {};
    return path;
}

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target, int iconIndex) {
    const ComInitializer com;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put())))) {
        return false;
    }
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\') + 1);
    link->SetPath(target.c_str());
    link->SetWorkingDirectory(folder.c_str());
    link->SetIconLocation(target.c_str(), iconIndex);
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put())))) return false;
    const std::wstring linkFolder = linkPath.substr(0, linkPath.find_last_of(L'\\'));
    SHCreateDirectoryExW(nullptr, linkFolder.c_str(), nullptr);
    return SUCCEEDED(file->Save(linkPath.c_str(), FALSE));
}

std::vector<std::string> UpdateShortcuts(HWND owner, bool desktop, bool startup, bool quickLaunch) {
    wchar_t module[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    const ShortcutFolders folders{Narrow(GetSpecialFolder(owner, CSIDL_DESKTOP)),
                                  Narrow(GetSpecialFolder(owner, CSIDL_STARTUP)),
                                  Narrow(GetSpecialFolder(owner, CSIDL_APPDATA))};
    const auto exists = [](const std::string& path) {
        return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    std::vector<std::string> notMade;
    for (const auto& step : PlanShortcuts(folders, desktop, startup, quickLaunch, exists)) {
        if (step.kind == ShortcutStep::Kind::Create) {
            if (!CreateShortcut(Widen(step.path), module, 0)) notMade.push_back(step.path);
        } else {
            DeleteFileW(Widen(step.path).c_str());
        }
    }
    return notMade;
}

}  // namespace nimbo
