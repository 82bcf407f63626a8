// Folder permissions through the security functions, which Windows XP has as well.
#include "installer/folder_permissions_win.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include "base/wide_text_win.h"

namespace nimbo::setup {
namespace {

struct LocalMemory {
    void* pointer = nullptr;
    ~LocalMemory() { LocalFree(pointer); }
};

std::string SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return Narrow(path);
}

}  // namespace

std::vector<std::string> ProgramFilesFolders() {
    std::vector<std::string> folders;
    for (const int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86}) {
        if (std::string folder = SpecialFolder(csidl); !folder.empty()) folders.push_back(folder);
    }
    // The 64-bit folder as a 32-bit setup sees it.
    wchar_t native[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ProgramW6432", native, MAX_PATH);
    if (length > 0 && length < MAX_PATH) folders.push_back(Narrow(native));
    return folders;
}

std::string FullPath(const std::string& path) {
    const std::wstring wide = Widen(path);
    std::wstring full(32768, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return path;
    std::string result = Narrow(std::wstring_view(full.data(), length));
    while (result.size() > 3 && result.back() == '\\') result.pop_back();
    return result;
}

bool HoldsOnlyNimbo(const std::string& folder) {
    const std::wstring wide = Widen(folder);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const DWORD exe = GetFileAttributesW((wide + L"\\Nimbo.exe").c_str());
    if (exe != INVALID_FILE_ATTRIBUTES && !(exe & FILE_ATTRIBUTE_DIRECTORY)) return true;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((wide + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..") empty = false;
    } while (empty && FindNextFileW(search, &entry));
    FindClose(search);
    return empty;
}

bool GiveOwnPermissions(const std::string& folder) {
    const std::wstring wide = Widen(folder);
    const int created = SHCreateDirectoryExW(nullptr, wide.c_str(), nullptr);
    if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS && created != ERROR_FILE_EXISTS) return false;
    LocalMemory descriptor;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kOwnFolderPermissions, SDDL_REVISION_1,
                                                              &descriptor.pointer, nullptr)) {
        return false;
    }
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor.pointer, &present, &dacl, &defaulted) || !present) return false;
    std::wstring path = wide;
    return SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 dacl, nullptr) == ERROR_SUCCESS;
}

bool InheritPermissionsOnly(const std::string& path) {
    ACL empty{};
    if (!InitializeAcl(&empty, sizeof empty, ACL_REVISION)) return false;
    std::wstring wide = Widen(path);
    return SetNamedSecurityInfoW(wide.data(), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 &empty, nullptr) == ERROR_SUCCESS;
}

std::string PermissionsText(const std::string& path) {
    std::wstring wide = Widen(path);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(wide.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS) {
        return {};
    }
    LocalMemory owner{descriptor};
    LocalMemory text;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                              reinterpret_cast<LPWSTR*>(&text.pointer), nullptr)) {
        return {};
    }
    return Narrow(static_cast<const wchar_t*>(text.pointer));
}

}  // namespace nimbo::setup
