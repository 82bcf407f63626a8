// The request line and the few header fields the service reads; every other field is checked for form only.
#include "service/core/http_request_head.h"

#include <algorithm>

namespace nimbo::service {
namespace {

constexpr size_t kMaxHeaderLines = 100;
constexpr size_t kMaxBodyDigits = 10;

// Clients may send blank lines before a request (a stray CRLF after an earlier one); they are skipped.
size_t SkipLeadingBlankLines(std::string_view bytes) {
    size_t start = 0;
    while (start < bytes.size() && (bytes[start] == '\r' || bytes[start] == '\n')) ++start;
    return start;
}

bool IsTokenChar(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenChar); }

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// The next line of `text` from `pos` without its line end; `pos` moves past it.
std::string_view NextLine(std::string_view text, size_t& pos) {
    const size_t end = text.find('\n', pos);
    std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? text.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

HeadParse Refused(int status) {
    HeadParse parse;
    parse.status = status;
    return parse;
}

}  // namespace

size_t FindHeadEnd(std::string_view bytes, size_t from) {
    // A blank line ends the head: "\n\n" or "\n\r\n". Looking again two bytes back finds one that was split.
    size_t pos = std::max(SkipLeadingBlankLines(bytes), from >= 2 ? from - 2 : 0);
    for (;;) {
        const size_t newline = bytes.find('\n', pos);
        if (newline == std::string_view::npos || newline + 1 >= bytes.size()) return std::string_view::npos;
        if (bytes[newline + 1] == '\n') return newline + 2;
        if (bytes[newline + 1] == '\r') {
            if (newline + 2 >= bytes.size()) return std::string_view::npos;
            if (bytes[newline + 2] == '\n') return newline + 3;
        }
        pos = newline + 1;
    }
}

HeadParse ParseRequestHead(std::string_view text) {
    size_t pos = SkipLeadingBlankLines(text);
    const std::string_view requestLine = NextLine(text, pos);
    const size_t firstSpace = requestLine.find(' ');
    const size_t lastSpace = requestLine.rfind(' ');
    if (firstSpace == std::string_view::npos || firstSpace == lastSpace) return Refused(400);
    const std::string_view method = requestLine.substr(0, firstSpace);
    const std::string_view target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    const std::string_view version = requestLine.substr(lastSpace + 1);
    if (!IsToken(method) || target.empty() ||
        std::any_of(target.begin(), target.end(), [](char c) { return c == ' ' || IsControl(c); }))
        return Refused(400);
    HeadParse parse;
    RequestHead& head = parse.head;
    if (version == "HTTP/1.0") {
        head.http10 = true;
    } else if (version != "HTTP/1.1") {
        const bool wellFormed = version.size() == 8 && version.substr(0, 5) == "HTTP/" && version[5] >= '0' &&
                                version[5] <= '9' && version[6] == '.' && version[7] >= '0' && version[7] <= '9';
        return Refused(wellFormed ? 505 : 400);
    }

    bool close = false;
    bool keepAliveAsked = false;
    bool lengthSeen = false;
    for (size_t lines = 0;; ++lines) {
        if (lines > kMaxHeaderLines) return Refused(400);
        const std::string_view line = NextLine(text, pos);
        if (line.empty()) break;
        // A line that starts with a blank continues the one before (obsolete folding): refused, as a proxy
        // before us may have read it differently.
        if (line.front() == ' ' || line.front() == '\t') return Refused(400);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) return Refused(400);
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = TrimBlanks(line.substr(colon + 1));
        if (std::any_of(value.begin(), value.end(), [](char c) { return IsControl(c) && c != '\t'; }))
            return Refused(400);
        if (EqualsIgnoringCase(name, "Connection")) {
            for (std::string_view rest = value; !rest.empty();) {
                const size_t comma = rest.find(',');
                const std::string_view option = TrimBlanks(rest.substr(0, comma));
                close = close || EqualsIgnoringCase(option, "close");
                keepAliveAsked = keepAliveAsked || EqualsIgnoringCase(option, "keep-alive");
                rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            }
        } else if (EqualsIgnoringCase(name, "Content-Length")) {
            if (value.empty() || value.size() > kMaxBodyDigits ||
                !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
                return Refused(400);
            const size_t length = std::stoull(std::string(value));
            if (lengthSeen && length != head.bodyBytes) return Refused(400);
            lengthSeen = true;
            head.bodyBytes = length;
        } else if (EqualsIgnoringCase(name, "Transfer-Encoding")) {
            return Refused(501);  // bodies in chunks are not taken
        } else if (EqualsIgnoringCase(name, "If-None-Match")) {
            head.ifNoneMatch = std::string(value);
        } else if (EqualsIgnoringCase(name, "If-Modified-Since")) {
            head.ifModifiedSince = std::string(value);
        } else if (EqualsIgnoringCase(name, "X-Forwarded-For")) {
            if (!head.forwardedFor.empty()) head.forwardedFor += ", ";
            head.forwardedFor += value;
        }
    }
    head.keepAlive = head.http10 ? keepAliveAsked && !close : !close;
    if (method == "GET") {
        head.method = Method::Get;
    } else if (method == "HEAD") {
        head.method = Method::Head;
    } else {
        return Refused(405);
    }
    if (head.bodyBytes > kMaxRequestBodyBytes) return Refused(413);
    head.target = std::string(target);
    parse.ok = true;
    return parse;
}

}  // namespace nimbo::service
