// The settings of one user kept in the profile, apart from the installation's Options.ini.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "widget/settings_file.h"

namespace nimbo {

// Until the user's copy exists, the user's settings are read from the installed file; the first write creates
// the copy from it (as UTF-16LE, whatever the installed file's encoding), and from then on the copy is used as it
// is. The machine's sections ([Servers], [CitiesTU]) belong to the installation: they are always read from the
// installed file, left out of the copy, and never written here, so what the installer sets reaches every user.
class ProfileSettingsFile final : public SettingsFile {
public:
    ProfileSettingsFile(std::unique_ptr<SettingsFile> installed, std::unique_ptr<SettingsFile> user);

    // The user's copy: where writes go, and what an error names.
    const std::string& FileName() const override { return m_user->FileName(); }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    std::vector<std::string> ReadSection(const std::string& section) const override;
    void EraseSection(const std::string& section) override;
    void UpdateFile() override { m_user->UpdateFile(); }
    bool Exists() const override { return m_user->Exists(); }
    std::string ReadText() const override { return m_user->ReadText(); }
    void CreateWithText(const std::string& text) override { m_user->CreateWithText(text); }

    static const std::vector<std::string>& MachineSections();

private:
    bool StoreString(const std::string& section, const std::string& key, const std::string& value) override;
    void StoreSection(const std::string& section, const KeyValueList& pairs) override;
    // The file that answers reads of `section`.
    const SettingsFile& Source(const std::string& section) const;
    void CreateUserCopy();

    std::unique_ptr<SettingsFile> m_installed;
    std::unique_ptr<SettingsFile> m_user;
};

}  // namespace nimbo
