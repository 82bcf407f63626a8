// Answer heads: lengths, validators and the connection's fate as a client reads them.
#include "service/core/http_response.h"

#include <gtest/gtest.h>

namespace nimbo::service {
namespace {

TEST(HttpResponse, HeadSaysLengthTypeAndWhetherTheConnectionStays) {
    Response response;
    response.contentType = "text/xml; charset=UTF-8";
    response.cacheControl = "public, max-age=600";
    response.body = "<rss/>";
    response.headers = {{"ETag", "\"1\""}};
    const std::string date = "Tue, 08 Dec 2026 06:50:00 GMT";
    EXPECT_EQ(ResponseHead(response, date, false, false),
              "HTTP/1.1 200 OK\r\nDate: Tue, 08 Dec 2026 06:50:00 GMT\r\nContent-Type: text/xml; charset=UTF-8\r\n"
              "Content-Length: 6\r\nCache-Control: public, max-age=600\r\nETag: \"1\"\r\n\r\n");
    EXPECT_NE(ResponseHead(response, date, true, false).find("\r\nConnection: close\r\n"), std::string::npos);
    EXPECT_NE(ResponseHead(response, date, false, true).find("\r\nConnection: keep-alive\r\n"), std::string::npos);
    response.status = 304;
    EXPECT_EQ(ResponseHead(response, date, false, false).find("Content-Length"), std::string::npos);
    response.status = 429;
    EXPECT_EQ(ResponseHead(response, date, false, false).rfind("HTTP/1.1 429 Too Many Requests\r\n", 0), 0u);
}

}  // namespace
}  // namespace nimbo::service
