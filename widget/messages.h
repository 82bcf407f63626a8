// Window messages of the main window: the download threads' own, and those of a second start and the uninstaller.
#pragma once

#include <cstdint>

#include "base/shared_names.h"

namespace nimbo {

inline constexpr uint32_t kUserMessageBase = 0x400;  // WM_USER
inline constexpr uint32_t WM_WEATHER_DONE = kUserMessageBase + 10;
inline constexpr uint32_t WM_ADDRESS_DONE = kUserMessageBase + 12;
inline constexpr uint32_t WM_VERSION_DONE = kUserMessageBase + 13;

}  // namespace nimbo
