// Start-up decisions: supported systems, the exit switch, the single-instance verdict, the program folder.
#include "widget/start_up.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(StartUp, WindowsXpAndLaterAreSupported) {
    EXPECT_FALSE(IsSupportedSystem(4, 10));  // Windows 98
    EXPECT_FALSE(IsSupportedSystem(5, 0));   // Windows 2000
    EXPECT_TRUE(IsSupportedSystem(5, 1));
    EXPECT_TRUE(IsSupportedSystem(5, 2));
    EXPECT_TRUE(IsSupportedSystem(6, 0));
    EXPECT_TRUE(IsSupportedSystem(10, 0));
}

TEST(StartUp, ExitSwitchIsAWholeArgumentAfterDashOrSlashInAnyCase) {
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"-exit"}, true},   {{"/exit"}, true},   {{"/EXIT"}, true},   {{"-ExIt"}, true},      {{"x", "/exit"}, true},
        {{}, false},         {{"exit"}, false},   {{"--exit"}, false}, {{"-exits"}, false},    {{"/exi"}, false},
        {{"\\exit"}, false}, {{"-exit "}, false}, {{"-éxit"}, false},  {{"/e", "xit"}, false},
    };
    for (const auto& [arguments, expected] : cases) {
        EXPECT_EQ(HasExitSwitch(arguments), expected) << (arguments.empty() ? "(none)" : arguments.back());
    }
}

TEST(StartUp, OnlyAnExistingMutexWithAFoundWindowMeansRunning) {
    EXPECT_TRUE(IsAlreadyRunning(kErrorAlreadyExists, true));
    EXPECT_FALSE(IsAlreadyRunning(kErrorAlreadyExists, false));  // the first widget is still starting
    EXPECT_FALSE(IsAlreadyRunning(0, true));                     // a widget of another file holds no mutex
    EXPECT_FALSE(IsAlreadyRunning(5, true));                     // the mutex could not be made
}

TEST(StartUp, ExecutableFolderDropsTheFileNameAndTheSeparator) {
    EXPECT_EQ(ExecutableFolder("C:\\Program Files\\Nimbo\\Nimbo.exe"), "C:\\Program Files\\Nimbo");
    EXPECT_EQ(ExecutableFolder("Z:/work/Nimbo.exe"), "Z:/work");
    EXPECT_EQ(ExecutableFolder("C:\\Nimbo.exe"), "C:");
    EXPECT_EQ(ExecutableFolder("Nimbo.exe"), "");
}

}  // namespace
}  // namespace nimbo
