// Pixel helpers of ArgbSurface.
#include "widget/face/argb_surface.h"

namespace nimbo {

uint32_t Premultiply(uint32_t argb) {
    const uint32_t a = argb >> 24;
    auto scale = [a](uint32_t channel) { return (channel * a + 127) / 255; };
    return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) | scale(argb & 0xFF);
}

}  // namespace nimbo
