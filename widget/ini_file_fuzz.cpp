// libFuzzer target: the settings-file reader and writer on any file contents.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "widget/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/nimbo-ini-fuzz-" + std::to_string(getpid()) + ".ini";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    nimbo::IniFile ini(path);
    std::vector<std::pair<std::string, std::string>> before;
    for (const std::string& key : ini.ReadSection("Location")) {
        before.emplace_back(key, ini.ReadString("Location", key, "\x01"));
    }
    // A write to one section reads back and leaves the keys of another as they were.
    ini.WriteString("Appearance", "Left", "-20");
    if (ini.ReadString("Appearance", "Left", "") != "-20") __builtin_trap();
    for (const auto& [key, value] : before) {
        if (ini.ReadString("Location", key, "\x01") != value) __builtin_trap();
    }
    ini.EraseSection("Favorites");
    if (!ini.ReadSection("Favorites").empty()) __builtin_trap();
    return 0;
}
