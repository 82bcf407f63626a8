// The shortcut plan: create what is ticked and missing, delete what is unticked and present, skip unknown folders.
#include "widget/config/shortcut_plan.h"

#include <gtest/gtest.h>

#include <set>

namespace nimbo {
namespace {

using Kind = ShortcutStep::Kind;

TEST(ShortcutPlan, MatchesTheFilesToTheBoxes) {
    const ShortcutFolders folders{"C:\\D", "C:\\S", "C:\\A"};
    const std::string desktop = "C:\\D\\Nimbo!.lnk";
    const std::string startup = "C:\\S\\Nimbo!.lnk";
    const std::string quick = "C:\\A\\Microsoft\\Internet Explorer\\Quick Launch\\Nimbo!.lnk";
    struct Case {
        bool d, s, q;
        std::set<std::string> present;
        std::vector<ShortcutStep> expected;
    };
    const Case cases[] = {
        {true, true, true, {}, {{Kind::Create, desktop}, {Kind::Create, startup}, {Kind::Create, quick}}},
        {true, true, true, {desktop, startup, quick}, {}},
        {true, false, true, {desktop, startup, quick}, {{Kind::Delete, startup}}},
        {true, true, true, {desktop, quick}, {{Kind::Create, startup}}},
        {false, false, false, {}, {}},
        {false, false, false, {desktop, quick}, {{Kind::Delete, desktop}, {Kind::Delete, quick}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlanShortcuts(folders, c.d, c.s, c.q, [&](const std::string& p) { return c.present.count(p) > 0; }),
                  c.expected);
    }
}

TEST(ShortcutPlan, AFolderThatCouldNotBeLookedUpIsSkipped) {
    const auto steps = PlanShortcuts({"", "C:\\S", ""}, true, true, true, [](const std::string&) { return false; });
    EXPECT_EQ(steps, (std::vector<ShortcutStep>{{Kind::Create, "C:\\S\\Nimbo!.lnk"}}));
}

}  // namespace
}  // namespace nimbo
