// The WMO weather codes of the upstream forecast turned into the feed's condition codes and English texts.
#pragma once

#include <optional>

namespace nimbo::service {

inline constexpr int kConditionNotAvailable = 3200;

struct FeedCondition {
    int Code = kConditionNotAvailable;
    const char* Text = "Not Available";
};

// `night` picks the night column; only the current condition is ever shown as night. A missing or unknown
// WMO code gives 3200 "Not Available".
FeedCondition ConditionForWmoCode(std::optional<int> wmo, bool night);

}  // namespace nimbo::service
