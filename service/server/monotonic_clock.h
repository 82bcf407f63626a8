// The clock the service's deadlines and waits count on: monotonic milliseconds.
#pragma once

#include <chrono>
#include <cstdint>

namespace nimbo::service {

inline int64_t MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace nimbo::service
