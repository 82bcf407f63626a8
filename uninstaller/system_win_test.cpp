// The uninstaller's Windows routines against the real functions: registry texts, starting a program from a folder
// with a blank, and mutex probes that leave nothing behind.
#include "uninstaller/system_win.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <filesystem>

#include "base/wide_text_win.h"
#include "tests/support/temp_folder.h"
#include "uninstaller/close_widget_win.h"

namespace nimbo::uninstall {
namespace {

constexpr wchar_t kTestKey[] = L"Software\\Nimbo Tests\\Uninstaller";

void SetValue(HKEY key, const wchar_t* name, DWORD type, const std::wstring& text, bool withTerminator) {
    const DWORD bytes = static_cast<DWORD>((text.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()), bytes), ERROR_SUCCESS);
}

TEST(UninstallerSystem, RegistryTextsReadWhateverTheirStorage) {
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    {
        const UniqueKey key(created);
        SetValue(key.Get(), nullptr, REG_SZ, L"C:\\Program Files\\Pelvar\\Nimbo\\Nimbo.exe", true);
        SetValue(key.Get(), L"Path", REG_SZ, L"C:\\Programlar\\Çiçek", false);  // stored without its terminator
        SetValue(key.Get(), L"Version", REG_EXPAND_SZ, L"1.60", true);
        SetValue(key.Get(), L"Empty", REG_SZ, L"", true);
    }
    const std::string path = Narrow(kTestKey);
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, path, ""), "C:\\Program Files\\Pelvar\\Nimbo\\Nimbo.exe");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, path, "Path"), "C:\\Programlar\\Çiçek");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, path, "Version"), "1.60");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, path, "Empty"), "");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, path, "Missing"), "");
    EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, path + "\\Missing", ""), "");
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Nimbo Tests");
}

// Unquoted, "...\nimbo run\hostname.exe -exit" would start the unrunnable "...\nimbo.exe" first.
TEST(UninstallerSystem, ProgramsInAFolderWithABlankStartThemselves) {
    const testing::TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "nimbo run");
    testing::WriteBytes(folder.File("nimbo.exe"), "not a program");
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::filesystem::path program = folder.Path() / "nimbo run" / "hostname.exe";
    ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\hostname.exe").c_str(), program.wstring().c_str(), FALSE));
    EXPECT_EQ(RunAndWait(Narrow(program.wstring()), "-exit", 30000), 0);
    EXPECT_EQ(RunAndWait(folder.File("missing.exe"), "-exit", 30000), -1);
}

TEST(UninstallerSystem, MutexProbesLeaveNoMutexBehind) {
    EXPECT_FALSE(ProbeMutex(L"nimbo_uninstaller_test_probe"));
    EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, L"nimbo_uninstaller_test_probe"), nullptr);
    const UniqueKernelHandle held(CreateMutexW(nullptr, FALSE, L"nimbo_uninstaller_test_held"));
    EXPECT_TRUE(ProbeMutex(L"nimbo_uninstaller_test_held"));
}

}  // namespace
}  // namespace nimbo::uninstall
