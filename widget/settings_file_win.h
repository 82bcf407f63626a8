// Windows settings backend: the private-profile functions on a file kept in UTF-16LE.
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
    std::vector<std::string> ReadSection(const std::string& section) const override;
    void EraseSection(const std::string& section) override;
    void UpdateFile() override;
    bool Exists() const override;
    std::string ReadText() const override;
    void CreateWithText(const std::string& text) override;

private:
    bool StoreString(const std::string& section, const std::string& key, const std::string& value) override;
    void StoreSection(const std::string& section, const KeyValueList& pairs) override;
    // The profile functions keep the encoding they find, and make a new file ANSI: before a write, a missing
    // file is started as the byte-order mark alone and an ANSI one is rewritten once as UTF-16LE.
    void MakeUnicode();

    std::string m_path;
    std::wstring m_widePath;
};

}  // namespace nimbo
