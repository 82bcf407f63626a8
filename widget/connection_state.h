// ConnectionState: how the last feed download went, shown by the face and blocking refreshes while one runs.
#pragma once

#include <cstdint>

namespace nimbo {

enum class ConnectionState : uint8_t {
    Succeeded = 0,
    Outstanding = 1,
    Failed = 2,
    ThreadFailed = 3,  // the download thread could not be started
};

}  // namespace nimbo
