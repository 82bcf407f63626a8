// Portable settings backend: reads and writes the Windows private-profile format itself.
#pragma once

#include <string>
#include <vector>

#include "widget/settings_file.h"

namespace nimbo {

// Behaves as the Windows private-profile functions do: section and key names are case-insensitive,
// whitespace around names and values is dropped, a value in matching quotes loses them, lines starting
// with ';' are comments, the first of two equal keys wins, and the file is written in Windows-1254 with
// CR LF line ends. A file whose owner-write bit is clear counts as read-only, as the Windows attribute does.
class IniFile final : public SettingsFile {
public:
    explicit IniFile(std::string path);

    const std::string& FileName() const override { return m_path; }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    std::vector<std::string> ReadSection(const std::string& section) const override;
    void EraseSection(const std::string& section) override;
    void WriteSection(const std::string& section, const KeyValueList& pairs) override;
    void UpdateFile() override {}

private:
    std::vector<std::string> LoadLines() const;
    void StoreLines(const std::vector<std::string>& lines);

    std::string m_path;
};

}  // namespace nimbo
