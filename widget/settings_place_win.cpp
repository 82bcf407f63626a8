// The system's answers behind the settings file's place.
#include "widget/settings_place_win.h"

#include <windows.h>
#include <shlobj.h>

#include "base/wide_text_win.h"
#include "widget/profile_settings_file.h"
#include "widget/settings_file_win.h"
#include "widget/single_instance_win.h"

namespace nimbo {

namespace {

std::string FolderPath(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? Narrow(path) : "";
}

std::string EnvironmentValue(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Narrow(std::wstring_view(value, length)) : "";
}

// A program started through a short (8.3) path would not compare equal to the long Program Files path.
std::wstring LongPath(const std::wstring& path) {
    wchar_t longPath[MAX_PATH] = {};
    const DWORD length = GetLongPathNameW(path.c_str(), longPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(longPath, length) : path;
}

}  // namespace

SystemFolders AskSystemFolders() {
    SystemFolders system;
    system.modulePath = Narrow(LongPath(OwnModuleFileName()));
    OSVERSIONINFOW version{sizeof(version)};
    system.vistaOrLater = GetVersionExW(&version) && version.dwMajorVersion >= 6;
    // A 32-bit program on 64-bit Windows is told the x86 folder for both; the 64-bit one is in ProgramW6432.
    system.programFilesFolders = {FolderPath(CSIDL_PROGRAM_FILES), FolderPath(CSIDL_PROGRAM_FILESX86),
                                  EnvironmentValue(L"ProgramW6432")};
    system.appDataFolder = FolderPath(CSIDL_APPDATA);
    return system;
}

std::unique_ptr<SettingsFile> OpenWidgetSettings() {
    const SettingsPlace place = DecideSettingsPlace(AskSystemFolders());
    auto installed = std::make_unique<PrivateProfileFile>(place.installedFile);
    if (place.userFile.empty()) return installed;
    return std::make_unique<ProfileSettingsFile>(std::move(installed),
                                                 std::make_unique<PrivateProfileFile>(place.userFile));
}

}  // namespace nimbo
