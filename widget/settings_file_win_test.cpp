// The private-profile backend against the settings-file suite, under Wine.
#include "widget/settings_file_win.h"

#include <gtest/gtest.h>

#include "tests/support/settings_file_contract.h"

namespace nimbo::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Windows, SettingsFileContract,
                         ::testing::Values(SettingsBackend{
                             "PrivateProfile",
                             [](const std::string& path) { return std::make_unique<PrivateProfileFile>(path); }}),
                         BackendName);

}  // namespace
}  // namespace nimbo::testing
