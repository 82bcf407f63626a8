// Reads and writes of a user's settings split between the profile copy and the installed file.
#include "widget/profile_settings_file.h"

#include <algorithm>

#include "widget/server_config.h"
#include "widget/settings_keys.h"
#include "widget/settings_text.h"

namespace nimbo {

namespace {

bool IsMachineSection(const std::string& section) {
    const auto& machine = ProfileSettingsFile::MachineSections();
    return std::any_of(machine.begin(), machine.end(),
                       [&](const std::string& name) { return SameSettingsName(name, section); });
}

}  // namespace

ProfileSettingsFile::ProfileSettingsFile(std::unique_ptr<SettingsFile> installed, std::unique_ptr<SettingsFile> user)
    : m_installed(std::move(installed)), m_user(std::move(user)) {}

const std::vector<std::string>& ProfileSettingsFile::MachineSections() {
    static const std::vector<std::string> sections{kServersSection, settings::kCitiesSection};
    return sections;
}

const SettingsFile& ProfileSettingsFile::Source(const std::string& section) const {
    return IsMachineSection(section) || !m_user->Exists() ? *m_installed : *m_user;
}

std::string ProfileSettingsFile::ReadString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const {
    return Source(section).ReadString(section, key, defaultValue);
}

std::vector<std::string> ProfileSettingsFile::ReadSection(const std::string& section) const {
    return Source(section).ReadSection(section);
}

bool ProfileSettingsFile::StoreString(const std::string& section, const std::string& key, const std::string& value) {
    if (IsMachineSection(section)) return false;
    CreateUserCopy();
    return m_user->WriteString(section, key, value);
}

void ProfileSettingsFile::StoreSection(const std::string& section, const KeyValueList& pairs) {
    if (IsMachineSection(section)) return;
    CreateUserCopy();
    m_user->WriteSection(section, pairs);
}

void ProfileSettingsFile::EraseSection(const std::string& section) {
    if (IsMachineSection(section)) return;
    CreateUserCopy();
    m_user->EraseSection(section);
}

void ProfileSettingsFile::CreateUserCopy() {
    if (!m_user->Exists()) m_user->CreateWithText(WithoutSections(m_installed->ReadText(), MachineSections()));
}

}  // namespace nimbo
