// Writing the status line and header fields of an answer.
#include "service/core/http_response.h"

namespace nimbo::service {

const char* ReasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 304:
            return "Not Modified";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 413:
            return "Content Too Large";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        case 501:
            return "Not Implemented";
        case 503:
            return "Service Unavailable";
        case 505:
            return "HTTP Version Not Supported";
        default:
            return "Error";
    }
}

std::string ResponseHead(const Response& response, std::string_view date, bool close, bool http10KeepAlive) {
    std::string head;
    head.reserve(256);
    head += "HTTP/1.1 ";
    head += std::to_string(response.status);
    head += ' ';
    head += ReasonPhrase(response.status);
    head += "\r\nDate: ";
    head += date;
    const auto field = [&head](std::string_view name, std::string_view value) {
        if (value.empty()) return;
        head += "\r\n";
        head += name;
        head += ": ";
        head += value;
    };
    field("Content-Type", response.contentType);
    if (response.status != 304) field("Content-Length", std::to_string(response.body.size()));
    field("Cache-Control", response.cacheControl);
    for (const auto& [name, value] : response.headers) field(name, value);
    if (close) {
        field("Connection", "close");
    } else if (http10KeepAlive) {
        field("Connection", "keep-alive");
    }
    head += "\r\n\r\n";
    return head;
}

}  // namespace nimbo::service
