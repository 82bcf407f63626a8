// Shortcuts against the real shell link object: created with a non-ASCII path, then resolved.
#include "widget/config/shortcuts_win.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "tests/support/temp_folder.h"

namespace nimbo {
namespace {

TEST(ShortcutsWin, ALinkInAFolderWithTurkishLettersResolvesToItsTarget) {
    testing::TempFolder folder;
    const std::wstring base = Widen(folder.Path().string());
    const std::wstring link = base + L"\\Kısayol Şişli\\Nimbo!.lnk";
    const std::wstring target = L"C:\\Program Files\\Nimbo Ğ\\Nimbo.exe";
    ASSERT_TRUE(CreateShortcut(link, target, 0));

    const ComInitializer com;
    ComPtr<IShellLinkW> shell;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(shell.Put()))));
    ComPtr<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))));
    ASSERT_TRUE(SUCCEEDED(file->Load(link.c_str(), STGM_READ)));
    wchar_t text[MAX_PATH] = {};
    shell->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    EXPECT_EQ(std::wstring(text), target);
    shell->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_EQ(std::wstring(text), L"C:\\Program Files\\Nimbo Ğ\\");
}

TEST(ShortcutsWin, AnUnknownSpecialFolderIsEmpty) {
    EXPECT_EQ(GetSpecialFolder(nullptr, 0x7F), L"");
    EXPECT_FALSE(GetSpecialFolder(nullptr, CSIDL_APPDATA).empty());
}

}  // namespace
}  // namespace nimbo
