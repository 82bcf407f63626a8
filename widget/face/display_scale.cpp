// Layout units to the window's pixels, for the drawing list, fonts, sizes and hints.
#include "widget/face/display_scale.h"

#include <cmath>
#include <type_traits>

namespace nimbo {

namespace {

// The points of a window font in whole pixels at 96 DPI, as the system rounds them (10 pt is 13 px).
float PointPixels(float points) {
    const long rounded = std::lround(points);
    return static_cast<float>((rounded * kLayoutDpi + (rounded < 0 ? -36 : 36)) / 72);
}

float Edge(float units, const DisplayScale& scale) { return std::round(scale.Pixels(units)); }

}  // namespace

int DisplayScale::Pixels(int units) const {
    const long long product = static_cast<long long>(units) * m_dpi;
    const long long half = kLayoutDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kLayoutDpi : -((-product + half) / kLayoutDpi));
}

// The inverse of Pixels: the last unit whose first pixel is at or before `pixels`, floored for negatives too.
int DisplayScale::Units(int pixels) const {
    const long long numerator = static_cast<long long>(pixels) * kLayoutDpi + (kLayoutDpi / 2 - 1);
    const long long quotient = numerator / m_dpi;
    return static_cast<int>(numerator % m_dpi < 0 ? quotient - 1 : quotient);
}

FontSpec ScaledFont(const FontSpec& font, const DisplayScale& scale) {
    FontSpec scaled = font;
    const float pixels = font.unit == FontUnit::Point ? PointPixels(font.size) : font.size;
    scaled.size = scale.Pixels(pixels);
    scaled.unit = FontUnit::Pixel;
    return scaled;
}

DrawList ScaledDrawList(const DrawList& ops, const DisplayScale& scale) {
    DrawList scaled;
    scaled.reserve(ops.size());
    for (const DrawOp& op : ops) {
        std::visit(
            [&](const auto& o) {
                using T = std::decay_t<decltype(o)>;
                T s = o;
                if constexpr (std::is_same_v<T, PictureOp>) {
                    const RectF& d = o.destination;
                    s.destination.x = Edge(d.x, scale);
                    s.destination.y = Edge(d.y, scale);
                    if (d.width != kNaturalSize) {
                        s.destination.width = Edge(d.x + d.width, scale) - s.destination.x;
                        s.destination.height = Edge(d.y + d.height, scale) - s.destination.y;
                        // The source is in the picture's layout units, and the picture is scaled as the window.
                        s.source = {scale.Pixels(o.source.x), scale.Pixels(o.source.y), scale.Pixels(o.source.width),
                                    scale.Pixels(o.source.height)};
                    }
                } else if constexpr (std::is_same_v<T, TextOp>) {
                    s.rect = {scale.Pixels(o.rect.x), scale.Pixels(o.rect.y), scale.Pixels(o.rect.width),
                              scale.Pixels(o.rect.height)};
                    s.font = ScaledFont(o.font, scale);
                }
                scaled.push_back(std::move(s));
            },
            op);
    }
    return scaled;
}

std::vector<HintArea> ScaledHints(const std::vector<HintArea>& areas, const DisplayScale& scale) {
    std::vector<HintArea> scaled;
    scaled.reserve(areas.size());
    for (const HintArea& a : areas) {
        const int left = scale.Pixels(a.left);
        const int top = scale.Pixels(a.top);
        scaled.push_back(
            {left, top, scale.Pixels(a.left + a.width) - left, scale.Pixels(a.top + a.height) - top, a.text});
    }
    return scaled;
}

SizeI LayoutMeasurer::PictureSize(const std::string& name) const {
    const SizeI file = m_pixels.PictureSize(name);
    return {(file.width + kPictureDensity - 1) / kPictureDensity,
            (file.height + kPictureDensity - 1) / kPictureDensity};
}

RectF LayoutMeasurer::MeasureText(const std::string& text, TextAlign align, const FontSpec& font) const {
    return MeasureWrappedText(text, align, font, 0);
}

RectF LayoutMeasurer::MeasureWrappedText(const std::string& text, TextAlign align, const FontSpec& font,
                                         float width) const {
    const float factor = m_scale.Factor();
    const RectF box = m_pixels.MeasureWrappedText(text, align, ScaledFont(font, m_scale), width * factor);
    return {box.x / factor, box.y / factor, box.width / factor, box.height / factor};
}

}  // namespace nimbo
