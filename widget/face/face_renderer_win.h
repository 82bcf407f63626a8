// The GDI+ side of a layered window's face: executes drawing operations onto a 32-bit ARGB bitmap, measures
// texts and pictures for the layout, shows the bitmap with UpdateLayeredWindow, and fades it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/gdiplus_session_win.h"
#include "widget/face/argb_surface.h"
#include "widget/face/compositor.h"
#include "widget/face/display_scale.h"
#include "widget/face/face_layout.h"

namespace nimbo {

// One per layered window, created after GdiplusStartup and destroyed before GdiplusShutdown. It is given
// layouts in layout units (96-DPI pixels), measures in them, and draws them at the window's DPI (ScaledDrawList)
// on a surface of the window's pixels. Pictures are read from ".\Contents\Resources\" of the current folder
// when first drawn or measured and scaled once to the window's DPI: `fixedPictures` are kept from then on, any
// other picture for as long as each composition draws it. A missing picture draws nothing and
// measures 0 x 0. Below the drawing operations, work whose result cannot have changed is not done again: the
// glass at the start of a list, texts already drawn, the premultiplied copy a fade step presents.
class FacePainter : public FaceMeasurer {
public:
    // `width` and `height` in layout units.
    FacePainter(HWND window, int width, int height, const std::vector<std::string>& fixedPictures, BYTE alpha,
                int dpi = kLayoutDpi);
    ~FacePainter() override;
    FacePainter(const FacePainter&) = delete;
    FacePainter& operator=(const FacePainter&) = delete;

    // In layout units.
    SizeI PictureSize(const std::string& name) const override;
    RectF MeasureText(const std::string& text, TextAlign align, const FontSpec& font) const override;
    RectF MeasureWrappedText(const std::string& text, TextAlign align, const FontSpec& font,
                             float width) const override;

    // A new DPI (the window moved to another monitor): a surface of the new size, pictures and texts made again
    // when next drawn. The caller composes again.
    void SetDpi(int dpi);
    const DisplayScale& Scale() const;
    // The surface's size: the window's.
    SizeI PixelSize() const;

    // Executes the operations, given in layout units, in order onto the surface.
    void Draw(const DrawList& layoutOps);

    // FaceAlpha: the constant opacity of the whole face.
    BYTE Alpha() const { return m_alpha; }
    void SetAlpha(BYTE alpha) { m_alpha = alpha; }

    // PresentFace: shows the surface on the window with FaceAlpha. False when the system refused it.
    bool Present();
    // One step of a fade: the composed surface again, with a new FaceAlpha; nothing is drawn or converted.
    bool PresentAlpha(BYTE alpha);
    // Fade towards `target` by kFadeStep with kFadeDelayMs between presents, on the calling thread, with the
    // timer's resolution raised meanwhile (FineTimerResolution). Callers check General/FadeEffect first.
    void FadeIn(BYTE target);
    void FadeOut(BYTE target);

    // The surface's pixels as 0xAARRGGBB, not premultiplied.
    ArgbSurface Pixels() const;
    bool SavePng(const std::wstring& path) const;

private:
    struct Resources;
    // Pictures in their files' pixels and texts in the window's: what LayoutMeasurer scales back.
    class PixelMeasurer : public FaceMeasurer {
    public:
        explicit PixelMeasurer(const FacePainter& painter) : m_painter(painter) {}
        SizeI PictureSize(const std::string& name) const override;
        RectF MeasureText(const std::string& text, TextAlign align, const FontSpec& font) const override;
        RectF MeasureWrappedText(const std::string& text, TextAlign align, const FontSpec& font,
                                 float width) const override;

    private:
        const FacePainter& m_painter;
    };

    void DrawPicture(const PictureOp& op);
    void DrawText(const TextOp& op);
    // The surface's pixels into `pixels`, reusing its buffer.
    void CopySurfaceInto(std::vector<uint32_t>& pixels) const;
    void RestoreSurface(std::vector<uint32_t>& pixels);
    void Fade(const std::vector<uint8_t>& alphas);

    HWND m_window;
    BYTE m_alpha;
    SizeI m_units;
    std::vector<std::string> m_fixedPictures;
    PixelMeasurer m_pixelMeasurer;
    std::unique_ptr<Resources> m_resources;
};

// ComposeFace of the main window: composes, draws and presents.
void ComposeMainFace(FacePainter& painter, FaceLayout& layout, const FaceInputs& inputs);
// ComposeBackdrop of the main window: glass and Earth, presented.
void ComposeMainBackdrop(FacePainter& painter, const FaceLayout& layout, const WidgetSettings& settings);

// The main window's face for the main form to own: its placeholders, surface, fixed pictures and FaceAlpha.
class MainFace {
public:
    // Makes the window layered, the 233 x 248 surface and loads the fourteen fixed pictures; the face starts in
    // the small style with BackgroundStretch 1.25 and the grid hidden.
    MainFace(HWND window, BYTE alpha, int dpi = kLayoutDpi);

    FaceLayout& Layout() { return m_layout; }
    FacePainter& Painter() { return m_painter; }

    // Appearance/TempFontName and Appearance/CityFontName, as the settings load them.
    void SetFonts(const std::string& tempFontName, const std::string& cityFontName);

    // ComposeFace: every composition starts from a cleared surface and ends with a present.
    void Compose(const FaceInputs& inputs);
    // Grows or shrinks to `target`, composing every step; false when nothing changed.
    bool ChangeViewStyle(ViewStyle target, const FaceInputs& inputs);
    // The growth on a successful feed: animated with backdrops on the first feed with fading on, else at once.
    void GrowToViewStyle(bool animate, const WidgetSettings& settings);

private:
    FacePainter m_painter;
    FaceLayout m_layout;
};

}  // namespace nimbo
