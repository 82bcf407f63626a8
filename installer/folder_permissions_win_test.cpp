// The installation folder's permissions under Wine, read back in the security descriptor language.
#include "installer/folder_permissions_win.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "base/wide_text_win.h"
#include "tests/support/temp_folder.h"

namespace nimbo::setup {
namespace {

bool Grant(const std::string& path, const wchar_t* sddl) {
    void* descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const bool set = SetFileSecurityW(Widen(path).c_str(), DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    return set;
}

PSID WellKnown(WELL_KNOWN_SID_TYPE type, BYTE (&buffer)[SECURITY_MAX_SID_SIZE]) {
    DWORD size = sizeof buffer;
    return CreateWellKnownSid(type, nullptr, buffer, &size) ? buffer : nullptr;
}

// What Windows itself reads from the permissions asked for: nobody but administrators and the system may write,
// and nothing from the drive's root comes in.
TEST(FolderPermissions, OnlyAdministratorsAndTheSystemMayChangeAFolderOfItsOwn) {
    void* descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(kOwnFolderPermissions, SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) && present && dacl);
    BYTE system[SECURITY_MAX_SID_SIZE], administrators[SECURITY_MAX_SID_SIZE], users[SECURITY_MAX_SID_SIZE];
    const PSID mayChange[] = {WellKnown(WinLocalSystemSid, system),
                              WellKnown(WinBuiltinAdministratorsSid, administrators)};
    const PSID mayRead = WellKnown(WinBuiltinUsersSid, users);
    constexpr DWORD kWriting = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                               FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;
    ASSERT_EQ(dacl->AceCount, 3);
    for (WORD i = 0; i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, &entry));
        const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(ace->Header.AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE),
                  OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
        const PSID who = const_cast<DWORD*>(&ace->SidStart);
        if (EqualSid(who, mayRead)) {
            EXPECT_EQ(ace->Mask & kWriting, 0u) << "users may change the folder";
            EXPECT_EQ(ace->Mask & (FILE_READ_DATA | FILE_EXECUTE), static_cast<DWORD>(FILE_READ_DATA | FILE_EXECUTE));
        } else {
            EXPECT_TRUE(EqualSid(who, mayChange[0]) || EqualSid(who, mayChange[1])) << "someone else is let in";
            EXPECT_EQ(ace->Mask, static_cast<DWORD>(FILE_ALL_ACCESS));
        }
    }
    LocalFree(descriptor);
}

TEST(FolderPermissions, AFolderOfItsOwnIsMadeAndGetsThem) {
    const testing::TempFolder parent;
    const std::string folder = parent.File("Araclar\\Nimbo");
    ASSERT_TRUE(GiveOwnPermissions(folder));
    ASSERT_TRUE(std::filesystem::is_directory(std::filesystem::path(Widen(folder))));
    // Wine derives a file's permissions from the Unix file mode and keeps none it is given.
    if (PermissionsText(folder).rfind("D:P", 0) != 0) GTEST_SKIP() << "this file system keeps no permissions";
    EXPECT_EQ(PermissionsText(folder), Narrow(kOwnFolderPermissions));
    ASSERT_TRUE(Grant(folder, L"D:(A;OICI;0x1301bf;;;AU)"));
    ASSERT_TRUE(GiveOwnPermissions(folder));
    EXPECT_EQ(PermissionsText(folder), Narrow(kOwnFolderPermissions));
}

// An earlier setup granted users write on Options.ini by name; the file keeps only what its folder hands down.
TEST(FolderPermissions, AGrantByNameGivesWayToWhatTheFolderHandsDown) {
    const testing::TempFolder parent;
    const std::string file = parent.File("Options.ini");
    testing::WriteBytes(file, "[General]\r\n");
    ASSERT_TRUE(Grant(file, L"D:(A;;0x1301bf;;;BU)"));
    if (PermissionsText(file).find("(A;;0x1301bf;;;BU)") == std::string::npos) {
        GTEST_SKIP() << "this file system keeps no permissions";
    }
    ASSERT_TRUE(InheritPermissionsOnly(file));
    EXPECT_EQ(PermissionsText(file).find("(A;;"), std::string::npos) << PermissionsText(file);
}

TEST(FolderPermissions, OnlyAMissingOrEmptyFolderOrOneOfNimboIsTheSetupsToChange) {
    const testing::TempFolder parent;
    EXPECT_TRUE(HoldsOnlyNimbo(parent.File("missing")));
    EXPECT_TRUE(HoldsOnlyNimbo(parent.Path().string()));
    std::filesystem::create_directory(parent.Path() / "Nimbo");
    testing::WriteBytes(parent.File("Nimbo\\Nimbo.exe"), "MZ");
    testing::WriteBytes(parent.File("Nimbo\\Mine.txt"), "the user's own");
    EXPECT_TRUE(HoldsOnlyNimbo(parent.File("Nimbo")));
    testing::WriteBytes(parent.File("Belge.txt"), "the user's own");
    EXPECT_FALSE(HoldsOnlyNimbo(parent.Path().string()));
    EXPECT_FALSE(HoldsOnlyNimbo(parent.File("Belge.txt")));
    EXPECT_EQ(FullPath("C:\\Program Files\\..\\Araçlar\\.\\Nimbo\\"), "C:\\Araçlar\\Nimbo");
}

}  // namespace
}  // namespace nimbo::setup
