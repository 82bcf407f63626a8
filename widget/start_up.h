// The decisions of the widget's start: supported system, the close switch, the single-instance verdict.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/shared_names.h"

namespace nimbo {

inline constexpr char kApplicationTitle[] = "Nimbo!";
inline constexpr char kUnsupportedSystemCaption[] = "Hata";
inline constexpr char kUnsupportedSystemText[] =
    "Üzgünüm! Bu program ancak Windows XP veya üzeri işletim sistemlerinde çalışabilmektedir.";
inline constexpr uint32_t kErrorAlreadyExists = 183;

// Windows XP (5.1) and later.
bool IsSupportedSystem(uint32_t majorVersion, uint32_t minorVersion);

// True when one whole argument is "-exit" or "/exit" in any letter case; `arguments` excludes the program.
bool HasExitSwitch(const std::vector<std::string>& arguments);

// A running widget counts only when the mutex already existed and its window was found: a mutex alone
// (the first widget still starting, or one run from another file) lets this start run as a full widget.
bool IsAlreadyRunning(uint32_t mutexLastError, bool windowFound);

// The folder part of the program's own path, without a trailing separator.
std::string ExecutableFolder(const std::string& modulePath);

}  // namespace nimbo
