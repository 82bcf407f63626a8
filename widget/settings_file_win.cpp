// Settings backend over GetPrivateProfileStringW and WritePrivateProfileStringW.
#include "widget/settings_file_win.h"

#include <windows.h>

#include <iterator>

#include "base/wide_text_win.h"

namespace nimbo {

PrivateProfileFile::PrivateProfileFile(std::string path) : m_path(std::move(path)), m_widePath(Widen(m_path)) {}

std::string PrivateProfileFile::ReadString(const std::string& section, const std::string& key,
                                           const std::string& defaultValue) const {
    wchar_t buffer[kMaxValueLength + 1] = {};
    const std::wstring wideDefault = Widen(defaultValue);
    const DWORD length = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), wideDefault.c_str(),
                                                  buffer, static_cast<DWORD>(std::size(buffer)), m_widePath.c_str());
    return Narrow(std::wstring_view(buffer, length));
}

void PrivateProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (!WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                    m_widePath.c_str())) {
        throw SettingsWriteError(m_path);
    }
}

std::vector<std::string> PrivateProfileFile::ReadSection(const std::string& section) const {
    // The key names arrive as a list of zero-terminated texts; grow the buffer until the list fits.
    std::vector<wchar_t> buffer(4096);
    DWORD length = 0;
    for (;;) {
        length = GetPrivateProfileStringW(Widen(section).c_str(), nullptr, L"", buffer.data(),
                                          static_cast<DWORD>(buffer.size()), m_widePath.c_str());
        if (length + 2 < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> keys;
    for (size_t start = 0; start < length;) {
        const std::wstring_view name(buffer.data() + start);
        if (name.empty()) break;
        keys.push_back(Narrow(name));
        start += name.size() + 1;
    }
    return keys;
}

void PrivateProfileFile::EraseSection(const std::string& section) {
    if (!WritePrivateProfileStringW(Widen(section).c_str(), nullptr, nullptr, m_widePath.c_str())) {
        throw SettingsWriteError(m_path);
    }
}

void PrivateProfileFile::WriteSection(const std::string& section, const KeyValueList& pairs) {
    if (pairs.empty()) {
        EraseSection(section);
        return;
    }
    // "key=value" texts, each ended by a zero, and one more zero after the last.
    std::wstring lines;
    for (const auto& [key, value] : pairs) {
        lines += Widen(key + "=" + value);
        lines += L'\0';
    }
    lines += L'\0';
    if (!WritePrivateProfileSectionW(Widen(section).c_str(), lines.c_str(), m_widePath.c_str())) {
        throw SettingsWriteError(m_path);
    }
}

void PrivateProfileFile::UpdateFile() {
    // Flushes the system's cached copy of the file; its result says nothing about our writes.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_widePath.c_str());
}

}  // namespace nimbo
