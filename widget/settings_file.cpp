// Value forms shared by every settings backend.
#include "widget/settings_file.h"

#include <cstdlib>
#include <string_view>

namespace nimbo {

SettingsWriteError::SettingsWriteError(const std::string& fileName)
    : std::runtime_error("Unable to write to " + fileName) {}

bool ParseSettingsInteger(const std::string& text, int32_t& value) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16, ++pos;
    } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16, pos += 2;
    }
    if (pos >= text.size()) return false;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return false;
        }
        magnitude = magnitude * base + digit;
        // Hexadecimal may spell the full 32-bit pattern ("$FFFFFFFF" is -1); decimal must fit the signed range.
        const int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
        if (magnitude > limit) return false;
    }
    const auto bits = static_cast<uint32_t>(negative ? -magnitude : magnitude);
    value = static_cast<int32_t>(bits);
    return true;
}

int32_t SettingsFile::ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const {
    int32_t value = 0;
    return ParseSettingsInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool SettingsFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

namespace {

bool BreaksLine(const std::string& text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

}  // namespace

bool SettingsFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (BreaksLine(section) || BreaksLine(key) || BreaksLine(value)) return false;
    return StoreString(section, key, value);
}

bool SettingsFile::WriteSection(const std::string& section, const KeyValueList& pairs) {
    if (BreaksLine(section)) return false;
    for (const auto& [key, value] : pairs) {
        if (BreaksLine(key) || BreaksLine(value)) return false;
    }
    StoreSection(section, pairs);
    return true;
}

void SettingsFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void SettingsFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

KeyValueList SettingsFile::ReadSectionValues(const std::string& section) const {
    KeyValueList pairs;
    for (const auto& key : ReadSection(section)) pairs.emplace_back(key, ReadString(section, key, ""));
    return pairs;
}

}  // namespace nimbo
