// Portable reader and writer of the private-profile (INI) format.
#include "widget/ini_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "base/turkish_codepage.h"
#include "widget/settings_text.h"

namespace nimbo {

namespace {

struct Entry {
    std::string key;
    std::string value;
};

// A key line of a section; comments and empty lines are no entries.
std::optional<Entry> ParseEntry(const std::string& line) {
    const std::string text = TrimBlanks(line);
    if (text.empty() || text[0] == ';') return std::nullopt;
    const auto equals = text.find('=');
    if (equals == std::string::npos) return Entry{text, ""};
    return Entry{TrimBlanks(text.substr(0, equals)), TrimBlanks(text.substr(equals + 1))};
}

std::string StripQuotes(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Line range [begin, end) of a section's body, found case-insensitively; begin is past the header.
struct SectionRange {
    size_t header;
    size_t begin;
    size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<std::string>& lines, const std::string& section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionHeader(lines[i]);
        if (!name || !SameSettingsName(*name, section)) continue;
        size_t end = i + 1;
        while (end < lines.size() && !SectionHeader(lines[end])) ++end;
        return SectionRange{i, i + 1, end};
    }
    return std::nullopt;
}

}  // namespace

IniFile::IniFile(std::string path) : m_path(std::move(path)) {}

bool IniFile::Exists() const {
    struct stat info {};
    return stat(m_path.c_str(), &info) == 0;
}

std::string IniFile::ReadText() const {
    std::ifstream file(m_path, std::ios::binary);
    if (!file) return "";
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return DecodeSettingsFile(bytes.str(), [](std::string_view ansi) { return TurkishToUtf8(ansi); });
}

void IniFile::CreateWithText(const std::string& text) {
    if (Exists()) return;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
    std::ofstream file(m_path, std::ios::binary);
    file << EncodeSettingsFile(text);
    file.flush();
    if (!file) throw SettingsWriteError(m_path);
}

std::vector<std::string> IniFile::LoadLines() const {
    std::vector<std::string> lines;
    std::istringstream text(ReadText());
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void IniFile::StoreLines(const std::vector<std::string>& lines) {
    struct stat info {};
    if (stat(m_path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0) throw SettingsWriteError(m_path);
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    const std::string bytes = EncodeSettingsFile(text);
    std::ofstream file(m_path, std::ios::binary | std::ios::trunc);
    if (!file) throw SettingsWriteError(m_path);
    file << bytes;
    file.flush();
    if (!file) throw SettingsWriteError(m_path);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    const auto lines = LoadLines();
    const auto range = FindSection(lines, section);
    if (!range) return defaultValue;
    for (size_t i = range->begin; i < range->end; ++i) {
        const auto entry = ParseEntry(lines[i]);
        if (!entry || !SameSettingsName(entry->key, key)) continue;
        std::string value = StripQuotes(entry->value);
        // A value cut at the limit must not end in the middle of a character.
        if (value.size() > kMaxValueLength) {
            size_t cut = kMaxValueLength;
            while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
            value.resize(cut);
        }
        return value;
    }
    return defaultValue;
}

bool IniFile::StoreString(const std::string& section, const std::string& key, const std::string& value) {
    auto lines = LoadLines();
    const std::string line = key + "=" + value;
    const auto range = FindSection(lines, section);
    if (!range) {
        if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + section + "]");
        lines.push_back(line);
        StoreLines(lines);
        return true;
    }
    size_t insertAt = range->begin;
    for (size_t i = range->begin; i < range->end; ++i) {
        const auto entry = ParseEntry(lines[i]);
        if (!entry) continue;
        if (SameSettingsName(entry->key, key)) {
            lines[i] = entry->key + "=" + value;  // the stored spelling of the key stays
            StoreLines(lines);
            return true;
        }
        insertAt = i + 1;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
    StoreLines(lines);
    return true;
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    const auto lines = LoadLines();
    const auto range = FindSection(lines, section);
    if (!range) return keys;
    for (size_t i = range->begin; i < range->end; ++i) {
        if (const auto entry = ParseEntry(lines[i])) keys.push_back(entry->key);
    }
    return keys;
}

void IniFile::EraseSection(const std::string& section) {
    auto lines = LoadLines();
    const auto range = FindSection(lines, section);
    if (!range) return;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(range->header),
                lines.begin() + static_cast<std::ptrdiff_t>(range->end));
    StoreLines(lines);
}

void IniFile::StoreSection(const std::string& section, const KeyValueList& pairs) {
    if (pairs.empty()) {
        EraseSection(section);
        return;
    }
    auto lines = LoadLines();
    std::vector<std::string> body;
    for (const auto& [key, value] : pairs) body.push_back(key + "=" + value);
    const auto range = FindSection(lines, section);
    if (!range) {
        if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + section + "]");
        lines.insert(lines.end(), body.begin(), body.end());
        StoreLines(lines);
        return;
    }
    // The blank line that parted the section from the next one stays.
    if (range->end < lines.size() && range->end > range->begin && TrimBlanks(lines[range->end - 1]).empty()) {
        body.emplace_back();
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(range->begin),
                lines.begin() + static_cast<std::ptrdiff_t>(range->end));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(range->begin), body.begin(), body.end());
    StoreLines(lines);
}

}  // namespace nimbo
