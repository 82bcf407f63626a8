// One test suite for every settings backend: each backend's test file instantiates it with its factory.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "tests/support/temp_folder.h"
#include "widget/settings_file.h"

namespace nimbo::testing {

struct SettingsBackend {
    std::string name;
    std::function<std::unique_ptr<SettingsFile>(const std::string& path)> open;
};

// The suite's fixture: a fresh folder per test, the backend opening "Options.ini" inside it.
class SettingsFileContract : public ::testing::TestWithParam<SettingsBackend> {
protected:
    SettingsFileContract();
    ~SettingsFileContract() override;
    std::unique_ptr<SettingsFile> Open();
    std::string Path() const;
    void Fixture(const std::string& bytes);

private:
    std::unique_ptr<TempFolder> m_folder;
};

// Names the backend in test listings instead of dumping the parameter's bytes.
inline void PrintTo(const SettingsBackend& backend, std::ostream* out) { *out << backend.name; }

inline std::string BackendName(const ::testing::TestParamInfo<SettingsBackend>& info) { return info.param.name; }

}  // namespace nimbo::testing
