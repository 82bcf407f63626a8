// libFuzzer target: the feed's date reader and the time-of-day reader on any bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "widget/feed_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    nimbo::SystemTime t;
    const bool read = nimbo::ParseFeedTime(text, t);
    if (read == text.empty()) __builtin_trap();
    if (const auto time = nimbo::ReadTimeOfDay(text)) {
        if (time->hour < 0 || time->hour > 23 || time->minute < 0 || time->minute > 59) __builtin_trap();
    }
    return 0;
}
