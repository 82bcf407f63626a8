// Premultiplying for per-pixel alpha: opaque pixels keep their colour, clear ones lose it, the rest scale.
#include "widget/face/argb_surface.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(Premultiply, ScalesColourByAlphaWithRounding) {
    const std::pair<uint32_t, uint32_t> cases[] = {
        {0xFF123456, 0xFF123456},  // opaque: unchanged
        {0x00FFFFFF, 0x00000000},  // clear: no colour may shine through
        {0x80FFFFFF, 0x80808080},  // half: 255 * 128 / 255
        {0x80FF0001, 0x80800001},  // 1 * 128 / 255 = 0.502 rounds up
        {0x01FFFFFF, 0x01010101},
    };
    for (const auto& [straight, premultiplied] : cases)
        EXPECT_EQ(Premultiply(straight), premultiplied) << std::hex << straight;
}

TEST(ArgbSurface, RowsAreTopToBottomAndStartClear) {
    ArgbSurface surface(3, 2);
    EXPECT_EQ(surface.pixels.size(), 6u);
    EXPECT_EQ(surface.At(2, 1), 0u);
    surface.At(2, 1) = 0xFFFFFFFF;
    EXPECT_EQ(surface.pixels[5], 0xFFFFFFFFu);
}

}  // namespace
}  // namespace nimbo
