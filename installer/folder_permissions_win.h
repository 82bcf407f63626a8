// The permissions of the installation folder: what the setup checks and sets before copying into it.
#pragma once

#include <string>
#include <vector>

namespace nimbo::setup {

// The Program Files folders of this machine (64-bit and 32-bit), UTF-8; those that could not be found are left out.
std::vector<std::string> ProgramFilesFolders();

// The folder as an absolute path without "." or ".." parts, UTF-8; the text as given when that fails.
std::string FullPath(const std::string& path);

// Missing, empty, or holding the widget of an earlier installation (Nimbo.exe).
bool HoldsOnlyNimbo(const std::string& folder);

// The permissions a folder of its own gets, in the security descriptor language (SDDL): protected from what the
// drive's root hands down (there, "Authenticated Users: Modify"), full control for the system and administrators,
// read and run (FILE_GENERIC_READ | FILE_GENERIC_EXECUTE) for users, all handed down to files and subfolders.
inline constexpr wchar_t kOwnFolderPermissions[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

// Creates the folder (and the ones above it) when needed and gives it kOwnFolderPermissions, set by name so that
// what it holds already (an earlier installation) inherits them too.
bool GiveOwnPermissions(const std::string& folder);

// Drops whatever a file was granted by name, so that it has only what its folder hands down.
bool InheritPermissionsOnly(const std::string& path);

// The file's or folder's permissions in the security descriptor language (SDDL), for tests; empty on failure.
std::string PermissionsText(const std::string& path);

}  // namespace nimbo::setup
