// A 32-bit ARGB picture in memory, not premultiplied: what the face is composed on before it is shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace nimbo {

struct ArgbSurface {
    ArgbSurface(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), 0) {}

    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }

    int width;
    int height;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, rows top to bottom
};

// Converts to the premultiplied form that per-pixel alpha presentation needs.
uint32_t Premultiply(uint32_t argb);

}  // namespace nimbo
