// The uninstaller's copy of itself under Wine: a new folder each time, the program's bytes, held until it starts.
#include "uninstaller/self_copy_win.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace nimbo::uninstall {
namespace {

std::wstring SystemProgram() {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\hostname.exe";
}

TEST(SelfCopy, EachCopyIsTheProgramInANewFolderOfItsOwnHeldUntilItStarts) {
    const testing::TempFolder parent;
    {
        SelfCopy first(SystemProgram(), parent.Path().wstring());
        SelfCopy second(SystemProgram(), parent.Path().wstring() + L"\\");
        ASSERT_TRUE(first.Ready() && second.Ready());
        EXPECT_NE(first.Folder(), second.Folder());
        for (const SelfCopy* copy : {&first, &second}) {
            const std::filesystem::path folder(copy->Folder());
            EXPECT_EQ(folder.parent_path(), parent.Path());
            EXPECT_EQ(folder.filename().wstring().size(), 6u + 32) << folder;
            EXPECT_EQ(folder.filename().wstring().rfind(L"Nimbo-", 0), 0u) << folder;
            EXPECT_EQ(std::filesystem::path(copy->Path()), folder / "Uninstall.exe");
            EXPECT_EQ(testing::ReadBytes((folder / "Uninstall.exe").string()),
                      testing::ReadBytes(std::filesystem::path(SystemProgram()).string()));
        }
        // Nobody may change what was checked before it runs.
        const HANDLE writer = CreateFileW(first.Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
        EXPECT_FALSE(DeleteFileW(first.Path().c_str()));
    }
    EXPECT_TRUE(std::filesystem::is_empty(parent.Path())) << "a copy that never started stays behind";
}

TEST(SelfCopy, AnyFailureLeavesNothingAndStartsNothing) {
    const testing::TempFolder parent;
    SelfCopy unreadable((parent.Path() / "missing.exe").wstring(), parent.Path().wstring());
    EXPECT_FALSE(unreadable.Ready());
    EXPECT_FALSE(unreadable.Start(L"-uninstall"));
    SelfCopy nowhere(SystemProgram(), (parent.Path() / "no such folder").wstring());
    EXPECT_FALSE(nowhere.Ready());
    EXPECT_FALSE(nowhere.Start(L"-uninstall"));
    EXPECT_TRUE(std::filesystem::is_empty(parent.Path()));
}

}  // namespace
}  // namespace nimbo::uninstall
