// Moon phase from a fixed new moon and the mean lunation.
#include "widget/face/moon.h"

#include <cmath>
#include <cstdint>

namespace nimbo {
namespace {

constexpr double kLunationMs = 2551442861.088;  // 29.53058867 days
constexpr int64_t kMsPerDay = 86400000;

int64_t LocalMilliseconds(const SystemTime& t) {
    return DayNumber(t.year, t.month, t.day) * kMsPerDay + int64_t{t.hour} * 3600000 + int64_t{t.minute} * 60000 +
           int64_t{t.second} * 1000 + t.milliseconds;
}

}  // namespace

int MoonPhase(const SystemTime& moment) {
    const SystemTime reference{2006, 6, 0, 25, 18, 5, 0, 0};
    int64_t ms = LocalMilliseconds(moment) - LocalMilliseconds(reference);
    if (ms < 0) ms = -ms;
    double p = static_cast<double>(ms) / kLunationMs * 100.0;
    // Taking whole hundreds off one by one is exact in doubles, so fmod gives the same result at once; the
    // remainder 0 of an exact multiple is the 100 that the subtraction would have stopped at.
    if (p > 100.0) p = std::fmod(p, 100.0);
    if (p == 0.0) p = 100.0;
    return static_cast<int>(p);
}

int MoonIndexOfPhase(int phase) {
    // nearbyint rounds half to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(phase * 0.279));
}

int MoonIndex(const SystemTime& today) {
    SystemTime midnight = today;
    midnight.hour = midnight.minute = midnight.second = midnight.milliseconds = 0;
    return MoonIndexOfPhase(MoonPhase(midnight));
}

int MoonPictureNumber(int moonIndex) { return moonIndex >= 0 && moonIndex < 28 ? moonIndex : 0; }

}  // namespace nimbo
