// The integer forms every settings backend shares.
#include "widget/settings_file.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(SettingsInteger, DecimalAndHexadecimalFormsAreNumbersAndNothingElseIs) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"+42", true, 42},
        {"-42", true, -42},
        {"  7", true, 7},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"$FF", true, 255},
        {"0x10", true, 16},
        {"0XfF", true, 255},
        {"$FFFFFFFF", true, -1},
        {"$100000000", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"12 ", false, 0},
        {"1.5", false, 0},
        {"1e3", false, 0},
        {"ab", false, 0},
        {"99999999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int32_t value = 12345;
        EXPECT_EQ(ParseSettingsInteger(c.text, value), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

}  // namespace
}  // namespace nimbo
