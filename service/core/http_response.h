// An answer as the service gives it, and its HTTP/1.1 head as it goes on the wire.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nimbo::service {

struct Response {
    int status = 200;
    std::string contentType;
    std::string cacheControl;
    std::string_view body;  // must outlive the call that sends the response; it is copied there
    std::vector<std::pair<std::string, std::string>> headers;  // ETag, Last-Modified, Retry-After, Allow...
};

const char* ReasonPhrase(int status);

// The status line and header fields, ending in the blank line. `date` is the HTTP date of now; `close`
// says the connection ends after this answer; `http10KeepAlive` answers an HTTP/1.0 client that asked to
// keep it. 304 carries no body and so no length.
std::string ResponseHead(const Response& response, std::string_view date, bool close, bool http10KeepAlive);

}  // namespace nimbo::service
