// What the number readers take as a number and what they refuse.
#include "widget/face/feed_numbers.h"

#include <gtest/gtest.h>

namespace nimbo::testing {
namespace {

TEST(ReadFeedInteger, TakesWholeNumbersThatFitIn32Bits) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"32", 32},
        {"3200", 3200},
        {"-1", -1},
        {"+7", 7},
        {" 45 ", 45},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"abc", std::nullopt},
        {"12a", std::nullopt},
        {"1.5", std::nullopt},
        {"0x10", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadFeedInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(ReadFeedDecimal, ReadsDotDecimalsWithCommaThousands) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"16.09", 16.09},
        {"1609", 1609.0},
        {"1,609", 1609.0},
        {"1,609.34", 1609.34},
        {"-1", -1.0},
        {"+2.5", 2.5},
        {" 320 ", 320.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e2", 100.0},
        {"2.5E-1", 0.25},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"16,09", 1609.0},
        {",5", std::nullopt},
        {"1,", std::nullopt},
        {"1,,5", std::nullopt},
        {"1.2.3", std::nullopt},
        {".", std::nullopt},
        {"1e", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x1p3", std::nullopt},
        {"1e999", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadFeedDecimal(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace nimbo::testing
