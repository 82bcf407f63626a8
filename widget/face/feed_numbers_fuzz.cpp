// libFuzzer target: the number readers and the value texts built on them, on any bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "widget/face/feed_numbers.h"
#include "widget/face/value_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    nimbo::ReadFeedInteger(text);
    if (const auto value = nimbo::ReadFeedDecimal(text)) {
        if (*value != *value) __builtin_trap();  // never NaN
    }
    nimbo::TurkishConditionText(text);
    nimbo::WindLine(text, text);
    nimbo::VisibilityText(text);
    nimbo::SunLine(text, text);
    return 0;
}
