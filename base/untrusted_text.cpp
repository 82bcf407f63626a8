// One-line text and web addresses.
#include "base/untrusted_text.h"

namespace nimbo {
namespace {

// The length of a line break or control character at `at` in UTF-8, or 0 for anything else.
size_t ControlLength(std::string_view text, size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte <= ' ' || byte == 0x7F) return 1;
    const auto next = [&](size_t i) { return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0; };
    if (byte == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F) return 2;                       // C1, NEL among them
    if (byte == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9)) return 3;  // U+2028, U+2029
    return 0;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

bool IsUrlCharacter(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("-._~:/?#[]@!$&'()*+,;=%").find(c) != std::string_view::npos;
}

}  // namespace

std::string OneLine(std::string_view text) {
    std::string line;
    bool blank = false;
    for (size_t i = 0; i < text.size();) {
        if (const size_t length = ControlLength(text, i)) {
            blank = true;
            i += length;
            continue;
        }
        if (blank && !line.empty()) line += ' ';
        blank = false;
        line += text[i++];
    }
    return line;
}

bool IsWebAddress(std::string_view text) {
    size_t hostStart = 0;
    if (StartsWithIgnoringCase(text, "http://")) {
        hostStart = 7;
    } else if (StartsWithIgnoringCase(text, "https://")) {
        hostStart = 8;
    } else {
        return false;
    }
    for (const char c : text) {
        if (!IsUrlCharacter(c)) return false;
    }
    const std::string_view host = text.substr(hostStart, text.find_first_of("/?#", hostStart) - hostStart);
    return !host.empty() && host.front() != ':' && host.front() != '@';
}

std::optional<std::string> ServerBaseFromOption(std::string_view text) {
    const std::string_view kAround = " \t\"'";
    const size_t first = text.find_first_not_of(kAround);
    if (first == std::string_view::npos) return std::nullopt;
    const std::string_view value = text.substr(first, text.find_last_not_of(kAround) - first + 1);
    if (!IsWebAddress(value) || value.find_first_of("?#") != std::string_view::npos) return std::nullopt;
    return std::string(value);
}

}  // namespace nimbo
