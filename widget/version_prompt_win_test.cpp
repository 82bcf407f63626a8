// The new-version question under Wine: its texts, and that only Yes opens the download page.
#include "widget/version_prompt_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/wide_text_win.h"
#include "widget/version_check.h"

namespace nimbo {
namespace {

struct SeenBox {
    std::string text;
    bool found = false;
    std::atomic<bool> closed{false};  // the question returned: stop looking
};

// Answers the question box from another thread once it shows, and reports its text.
std::thread AnswerBox(int button, SeenBox& seen) {
    return std::thread([button, &seen] {
        const std::wstring caption = Widen(kNewVersionCaption);
        for (int attempt = 0; attempt < 600 && !seen.closed; ++attempt) {
            if (HWND box = FindWindowW(L"#32770", caption.c_str())) {
                wchar_t text[256] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 256);
                seen.text = Narrow(text);
                seen.found = true;
                PostMessageW(box, WM_COMMAND, button, 0);
                return;
            }
            Sleep(50);
        }
    });
}

TEST(VersionPrompt, OnlyYesOpensTheDownloadPage) {
    for (const int button : {IDNO, IDYES}) {
        std::vector<std::string> opened;
        SeenBox seen;
        std::thread answering = AnswerBox(button, seen);
        const bool yes = OfferNewVersion(nullptr, "1.61", "http://127.0.0.1:8640/index.html#nimbonew",
                                         [&opened](HWND, const std::string& url) { opened.push_back(url); });
        seen.closed = true;
        answering.join();

        if (!seen.found) GTEST_SKIP() << "no message box could be shown: run under Xvfb to test the question";
        EXPECT_EQ(seen.text, "Nimbo! nın 1.61 sürümü çıkmış! İndirmek ister misiniz?");
        EXPECT_EQ(yes, button == IDYES);
        EXPECT_EQ(opened, button == IDYES ? std::vector<std::string>{"http://127.0.0.1:8640/index.html#nimbonew"}
                                          : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace nimbo
