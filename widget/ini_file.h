// Portable settings backend: reads and writes the Windows private-profile format itself.
#pragma once

#include <string>
#include <vector>

#include "widget/settings_file.h"

namespace nimbo {

// Behaves as the Windows private-profile functions do: section and key names are case-insensitive,
// whitespace around names and values is dropped, a value in matching quotes loses them, lines starting
// with ';' are comments, the first of two equal keys wins, and the file is written in UTF-16LE after a
// byte-order mark with CR LF line ends. A file without the mark is ANSI, read as Windows-1254 (the code page
// the Windows backend meets on Turkish systems). A file whose owner-write bit is clear counts as read-only, as
// the Windows attribute does.
class IniFile final : public SettingsFile {
public:
    explicit IniFile(std::string path);

    const std::string& FileName() const override { return m_path; }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    std::vector<std::string> ReadSection(const std::string& section) const override;
    void EraseSection(const std::string& section) override;
    void UpdateFile() override {}
    bool Exists() const override;
    std::string ReadText() const override;
    void CreateWithText(const std::string& text) override;

private:
    bool StoreString(const std::string& section, const std::string& key, const std::string& value) override;
    void StoreSection(const std::string& section, const KeyValueList& pairs) override;
    std::vector<std::string> LoadLines() const;
    void StoreLines(const std::vector<std::string>& lines);

    std::string m_path;
};

}  // namespace nimbo
