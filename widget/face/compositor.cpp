// The glass background as drawing operations, the tint matrix, rounding and fade steps.
#include "widget/face/compositor.h"

#include <cmath>

namespace nimbo {

namespace {

// The rounded ends of the glass slices stay this wide when a window's glass is wider than the slices.
constexpr int kGlassCap = 16;
// The overlay's middle slice is sampled a little short of its bottom row, so the stretched picture never
// blends in the first row again.
constexpr float kOverlaySourceHeight = 0.978f;

PictureOp Natural(const std::string& name, float x, float y, PictureMode mode, const ColorMatrix& matrix) {
    PictureOp op;
    op.name = name;
    op.destination = {x, y, kNaturalSize, kNaturalSize};
    op.mode = mode;
    op.matrix = matrix;
    return op;
}

PictureOp Stretched(const std::string& name, RectF destination, RectF source, PictureMode mode,
                    const ColorMatrix& matrix) {
    PictureOp op;
    op.name = name;
    op.destination = destination;
    op.source = source;
    op.mode = mode;
    op.matrix = matrix;
    return op;
}

// One slice of the glass. At the slices' own width it is a single picture, natural or stretched; a wider glass
// gets the left end, the widened middle and the right end.
void AddSlice(DrawList& ops, const std::string& name, SizeI size, float x, float y, int width, float height,
              float sourceHeight, bool natural, PictureMode mode, const ColorMatrix& matrix) {
    if (width <= size.width || size.width <= 2 * kGlassCap) {
        if (natural) {
            ops.push_back(Natural(name, x, y, mode, matrix));
        } else {
            ops.push_back(Stretched(name, {x, y, static_cast<float>(size.width), height},
                                    {0, 0, static_cast<float>(size.width), sourceHeight}, mode, matrix));
        }
        return;
    }
    const auto cap = static_cast<float>(kGlassCap);
    const auto middleSource = static_cast<float>(size.width - 2 * kGlassCap);
    const auto middle = static_cast<float>(width - 2 * kGlassCap);
    ops.push_back(Stretched(name, {x, y, cap, height}, {0, 0, cap, sourceHeight}, mode, matrix));
    ops.push_back(Stretched(name, {x + cap, y, middle, height}, {cap, 0, middleSource, sourceHeight}, mode, matrix));
    ops.push_back(
        Stretched(name, {x + cap + middle, y, cap, height}, {cap + middleSource, 0, cap, sourceHeight}, mode, matrix));
}

}  // namespace

const std::array<const char*, 7> kBackgroundPictures = {
    "Colorize\\Top.png",         "Colorize\\Mid.png",          "Colorize\\Base.png", "Colorize\\Top Overlay.png",
    "Colorize\\Mid Overlay.png", "Colorize\\Base Overlay.png", "UI\\Reflection.png",
};

RectF RectOfBounds(int left, int top, int right, int bottom) {
    return {static_cast<float>(left), static_cast<float>(top), static_cast<float>(right - left),
            static_cast<float>(bottom - top)};
}

RectF MovedRect(RectF rect, float dx, float dy) {
    rect.x += dx;
    rect.y += dy;
    return rect;
}

int RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double result = fraction < 0.5 ? floor : floor + 1;
    if (fraction == 0.5 && std::fmod(floor, 2.0) == 0) result = floor;
    return static_cast<int>(result);
}

ColorMatrix IdentityMatrix() {
    ColorMatrix m{};
    for (int i = 0; i < 5; ++i) m[i * 5 + i] = 1;
    return m;
}

ColorMatrix TintMatrix(uint32_t rgb, uint8_t alpha) {
    ColorMatrix m = IdentityMatrix();
    m[0] = 2.0f * static_cast<float>((rgb >> 16) & 0xFF) / 255.0f;
    m[6] = 2.0f * static_cast<float>((rgb >> 8) & 0xFF) / 255.0f;
    m[12] = 2.0f * static_cast<float>(rgb & 0xFF) / 255.0f;
    m[18] = static_cast<float>(alpha) / 255.0f;
    return m;
}

void DrawBackground(DrawList& ops, const FaceMeasurer& measurer, int originX, int originY, int width, float stretch,
                    GlassTint tint, int reflectionDx, float middleExtra) {
    const ColorMatrix tintMatrix = TintMatrix(tint.rgb, tint.alpha);
    const ColorMatrix identity = IdentityMatrix();
    const auto x = static_cast<float>(originX);
    auto y = static_cast<float>(originY);

    const SizeI top = measurer.PictureSize("Colorize\\Top.png");
    AddSlice(ops, "Colorize\\Top.png", top, x, y, width, static_cast<float>(top.height), static_cast<float>(top.height),
             true, PictureMode::Tinted, tintMatrix);
    y += static_cast<float>(top.height);
    const SizeI mid = measurer.PictureSize("Colorize\\Mid.png");
    const auto middleHeight = [&](int height) {
        const int rounded = RoundHalfEven(static_cast<double>(height * stretch) + middleExtra);
        return static_cast<float>(rounded < 0 ? 0 : rounded);
    };
    const float midHeight = middleHeight(mid.height);
    AddSlice(ops, "Colorize\\Mid.png", mid, x, y, width, midHeight, static_cast<float>(mid.height), false,
             PictureMode::Tinted, tintMatrix);
    y += midHeight;
    const SizeI base = measurer.PictureSize("Colorize\\Base.png");
    AddSlice(ops, "Colorize\\Base.png", base, x, y, width, static_cast<float>(base.height),
             static_cast<float>(base.height), true, PictureMode::Tinted, tintMatrix);

    y = static_cast<float>(originY);
    const SizeI topOverlay = measurer.PictureSize("Colorize\\Top Overlay.png");
    AddSlice(ops, "Colorize\\Top Overlay.png", topOverlay, x, y, width, static_cast<float>(topOverlay.height),
             static_cast<float>(topOverlay.height), true, PictureMode::Plain, identity);
    ops.push_back(
        Natural("UI\\Reflection.png", x + static_cast<float>(reflectionDx), y + 3, PictureMode::Plain, identity));
    y += static_cast<float>(topOverlay.height);
    const SizeI midOverlay = measurer.PictureSize("Colorize\\Mid Overlay.png");
    const float overlayHeight = middleHeight(midOverlay.height);
    AddSlice(ops, "Colorize\\Mid Overlay.png", midOverlay, x, y, width, overlayHeight,
             static_cast<float>(midOverlay.height) * kOverlaySourceHeight, false, PictureMode::Tiled, identity);
    const SizeI baseOverlay = measurer.PictureSize("Colorize\\Base Overlay.png");
    AddSlice(ops, "Colorize\\Base Overlay.png", baseOverlay, x, y + overlayHeight, width,
             static_cast<float>(baseOverlay.height), static_cast<float>(baseOverlay.height), true, PictureMode::Plain,
             identity);
}

std::vector<uint8_t> FadeInAlphas(uint8_t from, uint8_t target, uint8_t step) {
    std::vector<uint8_t> alphas;
    const int by = step == 0 ? 1 : step;  // a zero step would never arrive
    int alpha = from;
    while (alpha < target) {
        alpha = alpha + by >= target ? target : alpha + by;
        alphas.push_back(static_cast<uint8_t>(alpha));
    }
    return alphas;
}

std::vector<uint8_t> FadeOutAlphas(uint8_t from, uint8_t target, uint8_t step) {
    std::vector<uint8_t> alphas;
    const int by = step == 0 ? 1 : step;
    int alpha = from;
    while (alpha > target) {
        alpha = alpha - by <= target ? target : alpha - by;
        alphas.push_back(static_cast<uint8_t>(alpha));
    }
    return alphas;
}

void SetOpacity(DrawList& ops, size_t first, float opacity) {
    for (size_t i = first; i < ops.size(); ++i) {
        if (auto* picture = std::get_if<PictureOp>(&ops[i])) picture->opacity = opacity;
        if (auto* text = std::get_if<TextOp>(&ops[i])) text->opacity = opacity;
    }
}

}  // namespace nimbo
