// Settings backend over GetPrivateProfileStringW and WritePrivateProfileStringW.
#include "widget/settings_file_win.h"

#include <windows.h>

#include <iterator>
#include <optional>

#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "widget/settings_text.h"

namespace nimbo {

namespace {

// ANSI text as the profile functions read it: through the system's code page.
std::string AnsiToUtf8(std::string_view bytes) {
    if (bytes.empty()) return "";
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
    return Narrow(wide);
}

// The whole file; nothing when it cannot be read, or is far too large to be a settings file.
std::optional<std::string> ReadAll(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 64 * 1024 * 1024) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

// Each missing folder on the way to the file, after the drive's root.
void CreateFolders(const std::wstring& filePath) {
    for (auto at = filePath.find_first_of(L"\\/", 3); at != std::wstring::npos;
         at = filePath.find_first_of(L"\\/", at + 1)) {
        CreateDirectoryW(filePath.substr(0, at).c_str(), nullptr);
    }
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

PrivateProfileFile::PrivateProfileFile(std::string path) : m_path(std::move(path)), m_widePath(Widen(m_path)) {}

std::string PrivateProfileFile::ReadString(const std::string& section, const std::string& key,
                                           const std::string& defaultValue) const {
    wchar_t buffer[kMaxValueLength + 1] = {};
    const std::wstring wideDefault = Widen(defaultValue);
    const DWORD length = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), wideDefault.c_str(),
                                                  buffer, static_cast<DWORD>(std::size(buffer)), m_widePath.c_str());
    return Narrow(std::wstring_view(buffer, length));
}

bool PrivateProfileFile::StoreString(const std::string& section, const std::string& key, const std::string& value) {
    MakeUnicode();
    if (!WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                    m_widePath.c_str())) {
        throw SettingsWriteError(m_path);
    }
    return true;
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
    // Erasing from a file that is not there changes nothing and must not create it.
    if (!Exists()) return;
    MakeUnicode();
    if (!WritePrivateProfileStringW(Widen(section).c_str(), nullptr, nullptr, m_widePath.c_str())) {
        throw SettingsWriteError(m_path);
    }
}

void PrivateProfileFile::StoreSection(const std::string& section, const KeyValueList& pairs) {
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

bool PrivateProfileFile::Exists() const { return GetFileAttributesW(m_widePath.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string PrivateProfileFile::ReadText() const {
    const UniqueFileHandle file(CreateFileW(m_widePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const auto bytes = file ? ReadAll(file.Get()) : std::nullopt;
    return bytes ? DecodeSettingsFile(*bytes, AnsiToUtf8) : "";
}

void PrivateProfileFile::CreateWithText(const std::string& text) {
    CreateFolders(m_widePath);
    const UniqueFileHandle file(
        CreateFileW(m_widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        if (GetLastError() == ERROR_FILE_EXISTS) return;
        throw SettingsWriteError(m_path);
    }
    if (!WriteAll(file.Get(), EncodeSettingsFile(text))) throw SettingsWriteError(m_path);
}

void PrivateProfileFile::MakeUnicode() {
    // Held without sharing while it is converted, so no other writer comes in between. A file that cannot be
    // opened for writing (read-only, or no folder) is left to the write that follows, which reports it.
    const UniqueFileHandle file(CreateFileW(m_widePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const auto bytes = ReadAll(file.Get());
    if (!bytes) throw SettingsWriteError(m_path);
    if (IsUtf16SettingsFile(*bytes)) return;
    // Rewritten in place, so the file keeps its security and attributes.
    if (SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) != 0 ||
        !WriteAll(file.Get(), EncodeSettingsFile(AnsiToUtf8(*bytes))) || !SetEndOfFile(file.Get())) {
        throw SettingsWriteError(m_path);
    }
}

}  // namespace nimbo
