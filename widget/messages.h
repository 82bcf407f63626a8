// Window messages of the main window, shared with the download threads, a second start and the uninstaller.
#pragma once

#include <cstdint>

namespace nimbo {

inline constexpr uint32_t kUserMessageBase = 0x400;  // WM_USER
inline constexpr uint32_t WM_WEATHER_DONE = kUserMessageBase + 10;
inline constexpr uint32_t WM_ADDRESS_DONE = kUserMessageBase + 12;
inline constexpr uint32_t WM_VERSION_DONE = kUserMessageBase + 13;
inline constexpr uint32_t WM_WIDGET_SHOW = 0x934;
inline constexpr uint32_t WM_WIDGET_CLOSE = 0x935;

}  // namespace nimbo
