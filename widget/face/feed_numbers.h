// Reading the feed's numeric texts (condition codes, wind degrees, visibility) without trusting them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace nimbo {

// A whole number: optional blanks, an optional sign, digits, optional blanks; it must fit in 32 bits.
std::optional<int32_t> ReadFeedInteger(std::string_view text);

// A decimal number with "." as the decimal mark and "," between digits of the whole part as a thousands mark
// ("1,609.5"), an optional sign and exponent, blanks around. A value a double cannot hold
// (beyond its range either way) counts as no number.
std::optional<double> ReadFeedDecimal(std::string_view text);

}  // namespace nimbo
