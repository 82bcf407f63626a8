// Reading an HTTP/1.x request head from the bytes a client sent: bounded, strict about framing (lengths,
// versions, folded lines), lenient where old clients differ (bare LF line ends, no Host).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nimbo::service {

inline constexpr size_t kMaxRequestHeadBytes = 16 * 1024;
inline constexpr size_t kMaxRequestBodyBytes = 4 * 1024;

enum class Method { Get, Head, Other };

struct RequestHead {
    Method method = Method::Get;
    std::string target;
    bool keepAlive = true;  // HTTP/1.1 unless "Connection: close"; HTTP/1.0 only with "Connection: keep-alive"
    bool http10 = false;
    size_t bodyBytes = 0;  // Content-Length: read and dropped, the service takes no bodies
    std::string ifNoneMatch;
    std::string ifModifiedSince;
    std::string forwardedFor;  // every X-Forwarded-For line, joined with ", "
};

// Where the head ends (just past its blank line) in `bytes`, or npos while it is incomplete. `from` is how
// far an earlier call already looked, so a head that trickles in is not searched again from its start.
size_t FindHeadEnd(std::string_view bytes, size_t from = 0);

struct HeadParse {
    bool ok = false;
    int status = 400;  // when not ok: the answer to give before closing (400, 405, 413, 501, 505)
    RequestHead head;
};

// Reads a whole head (as delimited by FindHeadEnd). Methods other than GET and HEAD are recognised only to
// be refused with 405.
HeadParse ParseRequestHead(std::string_view head);

}  // namespace nimbo::service
