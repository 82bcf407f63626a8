// Start-up decisions that need no window.
#include "widget/start_up.h"

namespace nimbo {

bool IsSupportedSystem(uint32_t majorVersion, uint32_t minorVersion) {
    return majorVersion > 5 || (majorVersion == 5 && minorVersion >= 1);
}

bool HasExitSwitch(const std::vector<std::string>& arguments) {
    constexpr size_t kLength = sizeof kExitSwitch - 1;
    for (const auto& argument : arguments) {
        if (argument.size() != kLength + 1 || (argument[0] != '-' && argument[0] != '/')) continue;
        bool matches = true;
        for (size_t i = 0; i < kLength; ++i) {
            const char c = argument[i + 1];
            const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
            matches = matches && lower == kExitSwitch[i];
        }
        if (matches) return true;
    }
    return false;
}

bool IsAlreadyRunning(uint32_t mutexLastError, bool windowFound) {
    return mutexLastError == kErrorAlreadyExists && windowFound;
}

std::string ExecutableFolder(const std::string& modulePath) {
    const auto separator = modulePath.find_last_of("\\/");
    if (separator == std::string::npos) return "";
    return modulePath.substr(0, separator);
}

}  // namespace nimbo
