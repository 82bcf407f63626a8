// Windows settings backend: the private-profile functions, which keep the ANSI code page on disk.
#pragma once

#include <string>
#include <vector>

#include "widget/settings_file.h"

namespace nimbo {

class PrivateProfileFile final : public SettingsFile {
public:
    explicit PrivateProfileFile(std::string path);

    const std::string& FileName() const override { return m_path; }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    std::vector<std::string> ReadSection(const std::string& section) const override;
    void EraseSection(const std::string& section) override;
    void WriteSection(const std::string& section, const KeyValueList& pairs) override;
    void UpdateFile() override;

private:
    std::string m_path;
    std::wstring m_widePath;
};

}  // namespace nimbo
