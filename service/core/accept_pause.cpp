// Doubling pauses after failed accepts.
#include "service/core/accept_pause.h"

#include <algorithm>

namespace nimbo::service {

int64_t AcceptPause::Failed() {
    const int64_t pause = m_nextPauseMs;
    m_nextPauseMs = std::min(m_nextPauseMs * 2, kLongestPauseMs);
    return pause;
}

}  // namespace nimbo::service
