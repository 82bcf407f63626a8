// Sliding-window counting of upstream calls.
#include "service/core/upstream_budget.h"

#include <algorithm>

namespace nimbo::service {

void UpstreamBudget::Forget(int64_t now) {
    while (!m_calls.empty() && m_calls.front() <= now - 86400) m_calls.pop_front();
}

size_t UpstreamBudget::Allowed(size_t limit, UpstreamCall call) const {
    if (call == UpstreamCall::Refresh) return limit;
    const size_t kept = (limit * std::min(m_limits.refreshSharePercent, 100u) + 50) / 100;
    return limit - kept;
}

bool UpstreamBudget::TryTake(int64_t now, UpstreamCall call) {
    Forget(now);
    if (m_calls.size() >= Allowed(m_limits.perDay, call)) return false;
    const auto lastMinute = std::upper_bound(m_calls.begin(), m_calls.end(), now - 60);
    if (static_cast<size_t>(m_calls.end() - lastMinute) >= Allowed(m_limits.perMinute, call)) return false;
    // A clock that steps back must not open room in the minute window.
    m_calls.push_back(m_calls.empty() ? now : std::max(now, m_calls.back()));
    return true;
}

size_t UpstreamBudget::UsedToday(int64_t now) {
    Forget(now);
    return m_calls.size();
}

}  // namespace nimbo::service
