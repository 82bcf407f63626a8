// Encoding and line rules of Options.ini shared by both settings backends.
#include "widget/settings_text.h"

#include <algorithm>

#include "base/utf.h"

namespace nimbo {

bool IsUtf16SettingsFile(std::string_view bytes) { return bytes.substr(0, kUtf16LeMark.size()) == kUtf16LeMark; }

std::string DecodeSettingsFile(std::string_view bytes, std::string (*ansiToUtf8)(std::string_view)) {
    if (!IsUtf16SettingsFile(bytes)) return ansiToUtf8(bytes);
    bytes.remove_prefix(kUtf16LeMark.size());
    std::u16string units(bytes.size() / 2, u'\0');  // an odd last byte is no character
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return Utf16ToUtf8(units);
}

std::string EncodeSettingsFile(std::string_view utf8) {
    std::string bytes(kUtf16LeMark);
    for (const char16_t unit : Utf8ToUtf16(utf8)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return "";
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

bool SameSettingsName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<std::string> SectionHeader(std::string_view line) {
    const std::string text = TrimBlanks(line);
    if (text.empty() || text[0] != '[') return std::nullopt;
    const auto close = text.find(']');
    return TrimBlanks(std::string_view(text).substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

std::string WithoutSections(const std::string& text, const std::vector<std::string>& sections) {
    std::string kept;
    bool dropping = false;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
        const std::string_view line(text.data() + start, end - start);
        if (const auto name = SectionHeader(line)) {
            dropping = std::any_of(sections.begin(), sections.end(),
                                   [&](const std::string& section) { return SameSettingsName(*name, section); });
        }
        if (!dropping) kept += line;
        start = end;
    }
    return kept;
}

}  // namespace nimbo
