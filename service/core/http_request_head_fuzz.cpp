// Fuzz target: any bytes a client sends go through the head search and the head reader safely; a head that
// is read holds only what the reader allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "service/core/http_request_head.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Found in one look or in pieces, the end of the head is the same.
    const size_t end = nimbo::service::FindHeadEnd(bytes);
    if (end != std::string_view::npos && end > size) std::abort();
    size_t piecewise = std::string_view::npos;
    for (size_t length = 0, seen = 0; length <= size && piecewise == std::string_view::npos; length += 7) {
        piecewise = nimbo::service::FindHeadEnd(bytes.substr(0, length), seen);
        seen = length;
    }
    if (piecewise != std::string_view::npos && piecewise != end) std::abort();
    const nimbo::service::HeadParse parse = nimbo::service::ParseRequestHead(bytes.substr(0, end));
    if (parse.ok) {
        if (parse.head.target.empty() || parse.head.target.find(' ') != std::string::npos) std::abort();
        if (parse.head.bodyBytes > nimbo::service::kMaxRequestBodyBytes) std::abort();
    }
    return 0;
}
