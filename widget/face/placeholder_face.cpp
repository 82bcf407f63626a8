// The placeholder panel, drawn pixel by pixel with anti-aliased rounded corners.
#include "widget/face/placeholder_face.h"

#include <algorithm>
#include <cmath>

namespace nimbo {

namespace {

constexpr double kCornerRadius = 18.0;

// Coverage of the pixel at (x, y) by a rounded rectangle of the surface's size, 0..1.
double Coverage(int x, int y, int width, int height) {
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double cx = std::clamp(px, kCornerRadius, width - kCornerRadius);
    const double cy = std::clamp(py, kCornerRadius, height - kCornerRadius);
    const double distance = std::hypot(px - cx, py - cy);
    return std::clamp(kCornerRadius - distance + 0.5, 0.0, 1.0);
}

}  // namespace

void DrawPlaceholderFace(ArgbSurface& surface) {
    for (int y = 0; y < surface.height; ++y) {
        // A cool glass tint, lighter at the top.
        const double t = static_cast<double>(y) / std::max(1, surface.height - 1);
        const auto red = static_cast<uint32_t>(70 - 40 * t);
        const auto green = static_cast<uint32_t>(120 - 50 * t);
        const auto blue = static_cast<uint32_t>(190 - 60 * t);
        for (int x = 0; x < surface.width; ++x) {
            const double cover = Coverage(x, y, surface.width, surface.height);
            const auto alpha = static_cast<uint32_t>(std::lround(200 * cover));
            surface.At(x, y) = (alpha << 24) | (red << 16) | (green << 8) | blue;
        }
    }
}

}  // namespace nimbo
