// The program's shortcuts on the desktop, in the Startup folder and in Quick Launch (IShellLinkW, wide paths).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace nimbo {

// The special folder's path (CSIDL_DESKTOP, CSIDL_STARTUP, CSIDL_APPDATA...), or empty when it cannot be looked up.
std::wstring GetSpecialFolder(HWND owner, int csidl);

// Saves one shortcut to `target` with the target's folder (with its trailing backslash) as working folder and
// the target's icon `iconIndex`; the link's folder is created when missing. False when it could not be saved.
bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target, int iconIndex);

// Makes the three "Nimbo!.lnk" files match the three boxes, pointing at the running program. Returns the
// shortcuts that could not be made; a deletion that fails is not reported.
std::vector<std::string> UpdateShortcuts(HWND owner, bool desktop, bool startup, bool quickLaunch);

}  // namespace nimbo
