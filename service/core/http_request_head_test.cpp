// Request heads: where they end however they arrive, what is read from them, and what is refused.
#include "service/core/http_request_head.h"

#include <gtest/gtest.h>

namespace nimbo::service {
namespace {

TEST(HttpRequestHead, FindsTheEndHoweverTheBytesArrive) {
    const std::string head = "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\nGET /next";
    EXPECT_EQ(FindHeadEnd(head), 34u);
    EXPECT_EQ(FindHeadEnd("GET / HTTP/1.0\n\nrest"), 16u);
    EXPECT_EQ(FindHeadEnd("\r\n\r\nGET / HTTP/1.1\r\n\r\n"), 22u);  // blank lines before a request are skipped
    for (const char* incomplete : {"", "\r\n", "GET / HTTP/1.1\r\n", "GET / HTTP/1.1\r\nHost: x\r\n\r"})
        EXPECT_EQ(FindHeadEnd(incomplete), std::string::npos) << incomplete;
    // Byte by byte, each call looking on from where the last stopped, the end is found where it is.
    size_t seen = 0;
    size_t end = std::string::npos;
    for (size_t length = 1; length <= head.size() && end == std::string::npos; ++length) {
        end = FindHeadEnd(std::string_view(head).substr(0, length), seen);
        seen = length;
    }
    EXPECT_EQ(end, 34u);
}

TEST(HttpRequestHead, ReadsTheFieldsTheServiceUses) {
    const HeadParse parse = ParseRequestHead(
        "GET /forecastrss/TUXX0014_c.xml HTTP/1.1\r\nhost: x\r\nIF-NONE-MATCH:  \"abc\" \r\n"
        "If-Modified-Since: Tue, 08 Dec 2026 06:50:00 GMT\r\nX-Forwarded-For: 203.0.113.5\r\n"
        "X-Forwarded-For: 10.0.0.1\r\nContent-Length: 3\r\n\r\n");
    ASSERT_TRUE(parse.ok);
    EXPECT_EQ(parse.head.method, Method::Get);
    EXPECT_EQ(parse.head.target, "/forecastrss/TUXX0014_c.xml");
    EXPECT_EQ(parse.head.ifNoneMatch, "\"abc\"");
    EXPECT_EQ(parse.head.ifModifiedSince, "Tue, 08 Dec 2026 06:50:00 GMT");
    EXPECT_EQ(parse.head.forwardedFor, "203.0.113.5, 10.0.0.1");
    EXPECT_EQ(parse.head.bodyBytes, 3u);
    // Old clients send Windows-1254 bytes in the target as they are.
    const HeadParse old = ParseRequestHead("HEAD /search/search?where=\xDDzmir HTTP/1.0\n\n");
    ASSERT_TRUE(old.ok);
    EXPECT_EQ(old.head.method, Method::Head);
    EXPECT_EQ(old.head.target, "/search/search?where=\xDDzmir");
}

TEST(HttpRequestHead, KeepsTheConnectionAsTheVersionAndConnectionSay) {
    const struct {
        const char* head;
        bool keepAlive;
    } cases[] = {
        {"GET / HTTP/1.1\r\n\r\n", true},
        {"GET / HTTP/1.1\r\nConnection: Close\r\n\r\n", false},
        {"GET / HTTP/1.1\r\nConnection: TE, close\r\n\r\n", false},
        {"GET / HTTP/1.0\r\n\r\n", false},
        {"GET / HTTP/1.0\r\nConnection: keep-alive\r\n\r\n", true},
    };
    for (const auto& c : cases) {
        const HeadParse parse = ParseRequestHead(c.head);
        ASSERT_TRUE(parse.ok) << c.head;
        EXPECT_EQ(parse.head.keepAlive, c.keepAlive) << c.head;
    }
}

TEST(HttpRequestHead, RefusesWhatItCannotReadSafely) {
    const struct {
        std::string head;
        int status;
    } cases[] = {
        {"GET /\r\n\r\n", 400},                            // no version
        {"GET  / HTTP/1.1\r\n\r\n", 400},                  // two blanks
        {"GET /a b HTTP/1.1\r\n\r\n", 400},                // a blank in the target
        {std::string("GET /\x01 HTTP/1.1\r\n\r\n"), 400},  // a control character
        {"G(T / HTTP/1.1\r\n\r\n", 400},
        {"GET / HTTP/2.0\r\n\r\n", 505},
        {"GET / HTTX/1.1\r\n\r\n", 400},
        {"POST /nimbo.xml HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", 405},
        {"GET / HTTP/1.1\r\nHost: x\r\n folded\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost x\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost : x\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nContent-Length: 99999999999\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nContent-Length: 4097\r\n\r\n", 413},
        {"GET / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 501},
    };
    for (const auto& c : cases) {
        const HeadParse parse = ParseRequestHead(c.head);
        EXPECT_FALSE(parse.ok) << c.head;
        EXPECT_EQ(parse.status, c.status) << c.head;
    }
    std::string many = "GET / HTTP/1.1\r\n";
    for (int i = 0; i < 101; ++i) many += "X-A: b\r\n";
    EXPECT_FALSE(ParseRequestHead(many + "\r\n").ok);
}

}  // namespace
}  // namespace nimbo::service
