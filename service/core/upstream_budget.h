// The upstream call budget: at most so many calls in any 60 s and in any 24 h, counted over sliding windows,
// so no clock-aligned minute or day of the upstream's can see more either. A share of both is kept for
// refreshing places already cached, so asking for ever new places cannot starve the places people use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace nimbo::service {

struct BudgetLimits {
    size_t perMinute = 500;             // Open-Meteo's free tier allows 600
    size_t perDay = 9000;               // and 10 000
    unsigned refreshSharePercent = 33;  // of each, only for places already cached
};

enum class UpstreamCall { Refresh, NewPlace };

class UpstreamBudget {
public:
    explicit UpstreamBudget(BudgetLimits limits) : m_limits(limits) {}

    // Takes one call at `now` (seconds) if both windows have room for its kind; false leaves the budget unchanged.
    bool TryTake(int64_t now, UpstreamCall call);

    size_t UsedToday(int64_t now);

private:
    void Forget(int64_t now);
    size_t Allowed(size_t limit, UpstreamCall call) const;

    BudgetLimits m_limits;
    std::deque<int64_t> m_calls;  // times of the calls of the last 24 h, oldest first
};

}  // namespace nimbo::service
