// The download thread against the loopback server (tests/server/with_server.py sets NIMBO_TEST_SERVER).
#include "widget/internet_thread_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "widget/document_text.h"
#include "widget/messages.h"
#include "widget/weather_feed.h"

namespace nimbo {
namespace {

// Short bounds so the misbehaving answers end quickly; the defaults are for real servers.
constexpr DownloadTimeouts kTestTimeouts{2000, 2000, 5000};
constexpr DWORD kMessageDeadlineMs = 60000;

std::string Fixture(const std::string& name) {
    std::ifstream in(std::string(NIMBO_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class InternetThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* server = std::getenv("NIMBO_TEST_SERVER");
        if (!server || !*server) {
            GTEST_SKIP() << "NIMBO_TEST_SERVER is not set; run through tests/server/with_server.py to test downloads";
        }
        m_server = server;
        m_window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
    }
    void TearDown() override {
        if (m_window) DestroyWindow(m_window);
    }

    std::string Url(const std::string& path) const { return m_server + path; }

    // The request lines the server logged so far that mention `path`.
    std::string LoggedRequests(const std::string& path) const {
        std::string log;
        EXPECT_EQ(DownloadText(Url("/_control/log"), log), 0);
        std::istringstream lines(log);
        std::string matching;
        for (std::string line; std::getline(lines, line);) {
            if (line.find("\"path\": \"" + path + "\"") != std::string::npos) matching += line + "\n";
        }
        return matching;
    }

    bool WaitForRequest(const std::string& path) const {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < kMessageDeadlineMs) {
            if (!LoggedRequests(path).empty()) return true;
            Sleep(20);
        }
        return false;
    }

    // The next `message` posted to the test window, waiting up to the deadline.
    bool WaitForMessage(UINT message, MSG& received) const {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < kMessageDeadlineMs) {
            if (PeekMessageW(&received, m_window, message, message, PM_REMOVE)) return true;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
        }
        return false;
    }

    std::string m_server;
    HWND m_window = nullptr;
};

TEST_F(InternetThreadTest, TheFeedArrivesWholeWithTheWidgetsUserAgent) {
    const struct {
        const char* path;
        const char* fixture;
    } cases[] = {
        {"/forecastrss/TUXX0014_c.xml", "server/forecastrss/TUXX0014_c.xml"},
        {"/forecastrss/TUXX9999_c.xml", "feeds/awkward-large-istanbul.xml"},  // many 8193-byte reads
    };
    for (const auto& c : cases) {
        std::string text = "stale";
        ASSERT_EQ(DownloadText(Url(c.path), text, kTestTimeouts), 0) << c.path;
        EXPECT_EQ(text, Fixture(c.fixture)) << c.path;

        const std::string logged = LoggedRequests(c.path);
        EXPECT_NE(logged.find("\"User-Agent\": \"Velmor Weather XML\""), std::string::npos) << logged;
        EXPECT_NE(logged.find("\"Connection\": \"close\""), std::string::npos) << logged;
        EXPECT_NE(logged.find("\"query\": \"\""), std::string::npos) << logged;
    }

    std::string huge;
    ASSERT_EQ(DownloadText(Url("/_huge/3000000/forecastrss/TUXX0014_c.xml"), huge, kTestTimeouts), 0);
    EXPECT_EQ(huge.size(), 3000000u);
    WeatherData data;
    data.FeedText = DecodeDocumentText(huge);
    ParseWeatherFeed(data);
    EXPECT_EQ(data.City, "İstanbul");
}

// Every way a download can go wrong ends as -1 with no text, and within the time-outs.
TEST_F(InternetThreadTest, FailuresEndAsMinusOneWithoutText) {
    for (const std::string& url : {std::string("http://127.0.0.1:1/nimbo.xml"),  // refused
                                   std::string("no address at all"), Url("/_never/nimbo.xml"),
                                   Url("/_drip/200/nimbo.xml"), Url("/_cut/forecastrss/TUXX9999_c.xml"),
                                   // an error page is no document, for the feed, the version and the address
                                   Url("/_error/forecastrss/TUXX0014_c.xml"), Url("/_error/nimbo.xml"),
                                   Url("/_error/getip.php"), Url("/missing.xml"),
                                   // no end, or more than any document: stopped at the bound
                                   Url("/_endless/nimbo.xml"), Url("/_huge/9000000/nimbo.xml")}) {
        std::string text = "stale";
        EXPECT_EQ(DownloadText(url, text, kTestTimeouts), -1) << url;
        EXPECT_EQ(text, "") << url;
    }
}

TEST_F(InternetThreadTest, TheThreadPostsItsResultOnceAsItsLastAction) {
    auto thread = std::make_unique<TInternetThread>(true, m_window, Url("/nimbo.xml"), WM_VERSION_DONE, kTestTimeouts);
    EXPECT_FALSE(thread->Terminated());
    ASSERT_TRUE(thread->Resume());
    EXPECT_FALSE(thread->Resume());

    MSG message{};
    ASSERT_TRUE(WaitForMessage(WM_VERSION_DONE, message));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);
    EXPECT_EQ(thread->ResultCode(), 0);
    EXPECT_EQ(thread->ResultText(), Fixture("server/nimbo.xml"));
    thread.reset();

    auto failing =
        std::make_unique<TInternetThread>(true, m_window, Url("/_never/getip.php"), WM_ADDRESS_DONE, kTestTimeouts);
    ASSERT_TRUE(failing->Resume());
    ASSERT_TRUE(WaitForMessage(WM_ADDRESS_DONE, message));
    EXPECT_EQ(message.lParam, -1);
    EXPECT_EQ(failing->ResultText(), "");
    failing.reset();
    EXPECT_FALSE(PeekMessageW(&message, m_window, 0, 0, PM_REMOVE));
}

TEST_F(InternetThreadTest, FreeingARunningThreadWaitsForItsDownload) {
    const std::string path = "/_slow/1500/forecastrss/TUXX9999_c.xml";
    auto thread = std::make_unique<TInternetThread>(true, m_window, Url(path), WM_WEATHER_DONE, kTestTimeouts);
    ASSERT_TRUE(thread->Resume());
    ASSERT_TRUE(WaitForRequest(path));
    thread.reset();

    // The download had ended when the object was gone: its message is already waiting.
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, m_window, WM_WEATHER_DONE, WM_WEATHER_DONE, PM_REMOVE));
    EXPECT_EQ(message.lParam, 0);
}

TEST_F(InternetThreadTest, AThreadNeverResumedEndsWithoutDownloading) {
    const std::string path = "/forecastrss/TUXX0014_c.xml?never-resumed";
    { TInternetThread thread(true, m_window, Url(path), WM_WEATHER_DONE, kTestTimeouts); }
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, m_window, 0, 0, PM_REMOVE));
}

}  // namespace
}  // namespace nimbo

namespace nimbo {
namespace {

// Run on a thread of its own, so a destructor that hangs fails the test instead of the whole run.
DWORD WINAPI DestroyThread(void* thread) {
    delete static_cast<TInternetThread*>(thread);
    return 0;
}

TEST(InternetThreadEnd, AThreadThatNeverRanIsNotWaitedFor) {
    HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (const bool suspendedTwice : {false, true}) {
        auto* thread = new TInternetThread(true, window, "http://127.0.0.1:1/nimbo.xml", WM_VERSION_DONE);
        // A second suspension stands for a thread that one resume cannot start.
        if (suspendedTwice) {
            ASSERT_NE(SuspendThread(thread->ThreadHandle()), static_cast<DWORD>(-1));
        }
        const UniqueKernelHandle destroyer(CreateThread(nullptr, 0, &DestroyThread, thread, 0, nullptr));
        ASSERT_TRUE(destroyer);
        EXPECT_EQ(WaitForSingleObject(destroyer.Get(), 10000), WAIT_OBJECT_0) << "suspended twice: " << suspendedTwice;
    }
    MSG message{};
    EXPECT_FALSE(PeekMessageW(&message, window, 0, 0, PM_REMOVE));
    DestroyWindow(window);
}

}  // namespace
}  // namespace nimbo
