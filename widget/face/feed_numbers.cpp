// Strict readers for the numbers in the feed; anything else is "not a number" for the caller to handle.
#include "widget/face/feed_numbers.h"

#include <charconv>
#include <string>

namespace nimbo {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<int32_t> ReadFeedInteger(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<double> ReadFeedDecimal(std::string_view text) {
    text = TrimBlanks(text);
    // Rebuild the number without its thousands marks and without a leading "+", which from_chars refuses;
    // checking the shape here also keeps out "inf", "nan" and hexadecimal, which from_chars would take.
    std::string plain;
    size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-') plain.push_back('-');
        ++pos;
    }
    size_t digits = 0;
    while (pos < text.size()) {
        if (IsDigit(text[pos])) {
            plain.push_back(text[pos++]);
            ++digits;
        } else if (text[pos] == ',' && digits > 0 && pos + 1 < text.size() && IsDigit(text[pos + 1])) {
            ++pos;
        } else {
            break;
        }
    }
    if (pos < text.size() && text[pos] == '.') {
        plain.push_back(text[pos++]);
        while (pos < text.size() && IsDigit(text[pos])) {
            plain.push_back(text[pos++]);
            ++digits;
        }
    }
    if (digits == 0) return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        plain.push_back(text[pos++]);
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) plain.push_back(text[pos++]);
        size_t exponentDigits = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            plain.push_back(text[pos++]);
            ++exponentDigits;
        }
        if (exponentDigits == 0) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;

    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
    return value;
}

}  // namespace nimbo
