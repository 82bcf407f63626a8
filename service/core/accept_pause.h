// What to do when accepting a connection fails (no descriptor left, no memory): stop accepting for a moment
// instead of retrying at once, which would spin the loop and fill the log, and wait longer while it goes on.
#pragma once

#include <cstdint>

namespace nimbo::service {

class AcceptPause {
public:
    static constexpr int64_t kFirstPauseMs = 100;
    static constexpr int64_t kLongestPauseMs = 1600;

    // How long to stop accepting after a failure; each failure with no accepted connection in between
    // doubles the pause, up to the longest.
    int64_t Failed();
    void Accepted() { m_nextPauseMs = kFirstPauseMs; }

private:
    int64_t m_nextPauseMs = kFirstPauseMs;
};

}  // namespace nimbo::service
