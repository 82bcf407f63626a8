// The one scale of every face: layouts are made in the pixels of a 96-DPI screen, and the drawing list, fonts,
// window sizes, hit areas and hints become the window's pixels here, at its DPI.
#pragma once

#include <vector>

#include "widget/face/compositor.h"
#include "widget/face/face_hints.h"

namespace nimbo {

// The DPI the layouts are made for: one layout unit is one pixel there.
inline constexpr int kLayoutDpi = 96;

// The picture files hold this many pixels per layout unit, so they stay sharp up to that scale.
inline constexpr int kPictureDensity = 2;

class DisplayScale {
public:
    // A DPI below 1 (a failed query) counts as the layout's own.
    explicit DisplayScale(int dpi = kLayoutDpi) : m_dpi(dpi > 0 ? dpi : kLayoutDpi) {}

    int Dpi() const { return m_dpi; }
    float Factor() const { return static_cast<float>(m_dpi) / kLayoutDpi; }

    // Layout units as whole pixels, halves away from zero (233 at 144 DPI is 350).
    int Pixels(int units) const;
    float Pixels(float units) const { return units * Factor(); }
    SizeI Pixels(SizeI units) const { return {Pixels(units.width), Pixels(units.height)}; }
    // The layout unit a pixel lies in (pixel 149 at 144 DPI is in unit 99).
    int Units(int pixels) const;

    bool operator==(const DisplayScale& o) const { return m_dpi == o.m_dpi; }
    bool operator!=(const DisplayScale& o) const { return m_dpi != o.m_dpi; }

private:
    int m_dpi;
};

// A font in pixels at the scale. Points become the whole-pixel height a window font of that size has at 96 DPI
// first, so a font keeps its size against the pictures at every scale.
FontSpec ScaledFont(const FontSpec& font, const DisplayScale& scale);

// The list in the window's pixels: picture destinations on whole pixels (a stretched one by its scaled edges,
// so slices that meet in the layout meet on the screen), their source rectangles in the pixels of the picture
// as scaled for the window, text rectangles scaled and fonts in pixels.
DrawList ScaledDrawList(const DrawList& ops, const DisplayScale& scale);

// Hint areas in the window's pixels, by their scaled edges.
std::vector<HintArea> ScaledHints(const std::vector<HintArea>& areas, const DisplayScale& scale);

// What layout measures, in layout units, over a measurer of the window's pixels: a picture's size is its
// file's size over the picture density, a text is measured in its scaled font and its box scaled back.
class LayoutMeasurer : public FaceMeasurer {
public:
    LayoutMeasurer(const FaceMeasurer& pixels, const DisplayScale& scale) : m_pixels(pixels), m_scale(scale) {}
    SizeI PictureSize(const std::string& name) const override;
    RectF MeasureText(const std::string& text, TextAlign align, const FontSpec& font) const override;
    RectF MeasureWrappedText(const std::string& text, TextAlign align, const FontSpec& font,
                             float width) const override;

private:
    const FaceMeasurer& m_pixels;
    DisplayScale m_scale;
};

}  // namespace nimbo
