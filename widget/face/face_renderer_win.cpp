// GDI+ execution of the face's drawing operations, and its presentation on a layered window.
#include "widget/face/face_renderer_win.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "widget/face/layered_present_win.h"

namespace nimbo {

namespace {

using PictureMap = std::map<std::string, std::unique_ptr<Gdiplus::Bitmap>>;

// A picture file, or nothing when it is missing or unreadable.
std::unique_ptr<Gdiplus::Bitmap> LoadPicture(const std::string& name) {
    const std::wstring path = L".\\Contents\\Resources\\" + Widen(name);
    auto picture = std::make_unique<Gdiplus::Bitmap>(path.c_str());
    if (picture->GetLastStatus() != Gdiplus::Ok || picture->GetWidth() == 0) return nullptr;
    return picture;
}

Gdiplus::RectF ToGdiplus(const RectF& r) { return {r.x, r.y, r.width, r.height}; }

Gdiplus::Color ArgbColor(uint32_t argb) { return Gdiplus::Color(static_cast<Gdiplus::ARGB>(argb)); }

bool FindPngEncoder(CLSID& clsid) {
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
    std::vector<BYTE> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wstring(codecs[i].MimeType) == L"image/png") {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

struct FacePainter::Resources {
    Resources(int width, int height) : surface(width, height, PixelFormat32bppARGB), graphics(&surface) {}
    Gdiplus::Bitmap surface;
    Gdiplus::Graphics graphics;
    PictureMap fixed;

    // Fonts by description, made once: finding a family is costly, and a face uses only a handful of fonts.
    mutable std::map<std::string, std::unique_ptr<Gdiplus::Font>> fonts;

    const Gdiplus::Font* FontOf(const FontSpec& spec, int dpi) const {
        const std::string key = spec.family + "|" + std::to_string(spec.size) + "|" +
                                std::to_string(static_cast<int>(spec.unit)) + (spec.bold ? "b" : "") +
                                (spec.italic ? "i" : "");
        std::unique_ptr<Gdiplus::Font>& font = fonts[key];
        if (!font) font = MakeFont(spec, dpi);
        return font.get();
    }

    // The GDI+ font of a font description; a family the system lacks becomes the generic sans serif.
    static std::unique_ptr<Gdiplus::Font> MakeFont(const FontSpec& spec, int dpi) {
        // Point sizes become the whole-pixel heights that a window-system font of that size has.
        const float pixels = spec.unit == FontUnit::Point
                                 ? static_cast<float>(MulDiv(static_cast<int>(std::lround(spec.size)), dpi, 72))
                                 : spec.size;
        INT style = Gdiplus::FontStyleRegular;
        if (spec.bold) style |= Gdiplus::FontStyleBold;
        if (spec.italic) style |= Gdiplus::FontStyleItalic;
        Gdiplus::FontFamily family(Widen(spec.family).c_str());
        if (family.GetLastStatus() == Gdiplus::Ok) {
            auto font = std::make_unique<Gdiplus::Font>(&family, pixels, style, Gdiplus::UnitPixel);
            if (font->GetLastStatus() == Gdiplus::Ok && font->IsAvailable()) return font;
        }
        return std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), pixels, style,
                                               Gdiplus::UnitPixel);
    }
};

FacePainter::FacePainter(HWND window, int width, int height, const std::vector<std::string>& fixedPictures, BYTE alpha)
    : m_window(window), m_alpha(alpha), m_resources(std::make_unique<Resources>(width, height)) {
    {
        WindowDc desktop(nullptr);
        if (desktop.Get()) m_dpi = GetDeviceCaps(desktop.Get(), LOGPIXELSY);
    }
    if (window && !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    }
    m_resources->graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    for (const std::string& name : fixedPictures) {
        if (auto picture = LoadPicture(name)) m_resources->fixed[name] = std::move(picture);
    }
}

FacePainter::~FacePainter() = default;

SizeI FacePainter::PictureSize(const std::string& name) const {
    const auto it = m_resources->fixed.find(name);
    if (it != m_resources->fixed.end()) {
        return {static_cast<int>(it->second->GetWidth()), static_cast<int>(it->second->GetHeight())};
    }
    const auto picture = LoadPicture(name);
    return picture ? SizeI{static_cast<int>(picture->GetWidth()), static_cast<int>(picture->GetHeight())} : SizeI{};
}

RectF FacePainter::MeasureText(const std::string& text, TextAlign align, const FontSpec& font) const {
    const Gdiplus::Font* gdiFont = m_resources->FontOf(font, m_dpi);
    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(align));
    const std::wstring wide = Widen(text);
    Gdiplus::RectF box;
    m_resources->graphics.MeasureString(wide.c_str(), static_cast<INT>(wide.size()), gdiFont, Gdiplus::PointF(0, 0),
                                        &format, &box);
    return {box.X, box.Y, box.Width, box.Height};
}

void FacePainter::Draw(const DrawList& ops) {
    for (const DrawOp& op : ops) {
        std::visit(
            [this](const auto& o) {
                using T = std::decay_t<decltype(o)>;
                if constexpr (std::is_same_v<T, ClearOp>) {
                    m_resources->graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
                } else if constexpr (std::is_same_v<T, PictureOp>) {
                    DrawPicture(o);
                } else {
                    DrawText(o);
                }
            },
            op);
    }
}

void FacePainter::DrawPicture(const PictureOp& op) {
    std::unique_ptr<Gdiplus::Bitmap> loaded;
    Gdiplus::Bitmap* picture = nullptr;
    const auto it = m_resources->fixed.find(op.name);
    if (it != m_resources->fixed.end()) {
        picture = it->second.get();
    } else {
        loaded = LoadPicture(op.name);  // released when this call ends
        picture = loaded.get();
    }
    if (!picture) return;
    const auto width = static_cast<float>(picture->GetWidth());
    const auto height = static_cast<float>(picture->GetHeight());

    RectF destination = op.destination;
    RectF source = op.source;
    if (destination.width == kNaturalSize) {
        destination.width = width;
        destination.height = height;
        source = {0, 0, width, height};
    }
    // Only the part of the source inside the picture is drawn, at the same scale: the grid's source rectangle
    // reaches below the picture in the medium style, and that part stays empty.
    if (source.width <= 0 || source.height <= 0) return;
    const float scaleX = destination.width / source.width;
    const float scaleY = destination.height / source.height;
    const float bottom = std::min(source.y + source.height, height);
    const float right = std::min(source.x + source.width, width);
    if (bottom <= source.y || right <= source.x) return;
    destination.width = (right - source.x) * scaleX;
    destination.height = (bottom - source.y) * scaleY;
    source.width = right - source.x;
    source.height = bottom - source.y;

    Gdiplus::ImageAttributes attributes;
    Gdiplus::ImageAttributes* used = nullptr;
    if (op.mode != PictureMode::Plain) {
        // Wine's GDI+ maps the first row or column of a stretched picture to the very edge of the source rectangle,
        // and a float rounding error can put it outside and leave it empty: a seam across the glass. Both
        // rectangles grow by the same small margin, so the mapping stays and that row falls inside; with tiled
        // wrapping the margin samples the picture's own opposite edge, and the slices repeat every row.
        constexpr float kMargin = 1.0f / 16;
        if (scaleX != 1) {
            source.x -= kMargin;
            source.width += 2 * kMargin;
            destination.x -= kMargin * scaleX;
            destination.width += 2 * kMargin * scaleX;
        }
        if (scaleY != 1) {
            source.y -= kMargin;
            source.height += 2 * kMargin;
            destination.y -= kMargin * scaleY;
            destination.height += 2 * kMargin * scaleY;
        }
        attributes.SetWrapMode(Gdiplus::WrapModeTile, Gdiplus::Color(255, 0, 0, 0), FALSE);
        if (op.mode == PictureMode::Tinted) {
            Gdiplus::ColorMatrix matrix;
            for (int row = 0; row < 5; ++row) {
                for (int column = 0; column < 5; ++column) matrix.m[row][column] = op.matrix[row * 5 + column];
            }
            attributes.SetColorMatrix(&matrix, Gdiplus::ColorMatrixFlagsDefault, Gdiplus::ColorAdjustTypeBitmap);
        }
        used = &attributes;
    }
    m_resources->graphics.DrawImage(picture, ToGdiplus(destination), source.x, source.y, source.width, source.height,
                                    Gdiplus::UnitPixel, used);
}

void FacePainter::DrawText(const TextOp& op) {
    if (op.text.empty()) return;
    const Gdiplus::Font* font = m_resources->FontOf(op.font, m_dpi);
    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(op.align));
    const std::wstring wide = Widen(op.text);
    const auto length = static_cast<INT>(wide.size());
    Gdiplus::Graphics& g = m_resources->graphics;
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    if (op.shadow) {
        Gdiplus::SolidBrush black(ArgbColor(kOpaqueBlack));
        g.DrawString(wide.c_str(), length, font, ToGdiplus(MovedRect(op.rect, 1, 1)), &format, &black);
    }
    Gdiplus::SolidBrush brush(ArgbColor(op.color));
    g.DrawString(wide.c_str(), length, font, ToGdiplus(op.rect), &format, &brush);
}

ArgbSurface FacePainter::Pixels() const {
    Gdiplus::Bitmap& surface = m_resources->surface;
    ArgbSurface pixels(static_cast<int>(surface.GetWidth()), static_cast<int>(surface.GetHeight()));
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(pixels.width);
    data.Height = static_cast<UINT>(pixels.height);
    data.Stride = pixels.width * 4;
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = pixels.pixels.data();
    Gdiplus::Rect all(0, 0, pixels.width, pixels.height);
    if (surface.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppARGB,
                         &data) == Gdiplus::Ok) {
        surface.UnlockBits(&data);
    }
    return pixels;
}

bool FacePainter::Present() {
    if (!m_window) return false;
    return PresentLayered(m_window, Pixels(), m_alpha);
}

void FacePainter::FadeIn(BYTE target) {
    const std::vector<uint8_t> alphas = FadeInAlphas(m_alpha, target);
    for (size_t i = 0; i < alphas.size(); ++i) {
        if (i > 0) Sleep(kFadeDelayMs);
        m_alpha = alphas[i];
        Present();
    }
}

void FacePainter::FadeOut(BYTE target) {
    const std::vector<uint8_t> alphas = FadeOutAlphas(m_alpha, target);
    for (size_t i = 0; i < alphas.size(); ++i) {
        if (i > 0) Sleep(kFadeDelayMs);
        m_alpha = alphas[i];
        Present();
    }
}

bool FacePainter::SavePng(const std::wstring& path) const {
    CLSID png{};
    return FindPngEncoder(png) && m_resources->surface.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

void ComposeMainFace(FacePainter& painter, FaceLayout& layout, const FaceInputs& inputs) {
    painter.Draw(ComposeFace(layout, inputs, painter));
    painter.Present();
}

void ComposeMainBackdrop(FacePainter& painter, const FaceLayout& layout, const WidgetSettings& settings) {
    painter.Draw(ComposeBackdrop(layout, settings, painter));
    painter.Present();
}

MainFace::MainFace(HWND window, BYTE alpha)
    : m_painter(window, kMainFaceWidth, kMainFaceHeight, MainFacePictures(), alpha),
      m_layout(MainFaceLayout(ViewStyle::Small, "Arial", "Arial")) {}

void MainFace::SetFonts(const std::string& tempFontName, const std::string& cityFontName) {
    m_layout.temperatureLbl.font.family = tempFontName;
    m_layout.cityNameLbl.font.family = cityFontName;
}

void MainFace::Compose(const FaceInputs& inputs) { ComposeMainFace(m_painter, m_layout, inputs); }

bool MainFace::ExecuteViewStyle(ViewStyleAction action, const FaceInputs& inputs) {
    return ExecuteViewStyleAction(action, m_layout, [&] { Compose(inputs); });
}

void MainFace::GrowToViewStyle(bool animate, const WidgetSettings& settings) {
    FirstLoadGrowth(m_layout, animate, [&] {
        ComposeMainBackdrop(m_painter, m_layout, settings);
        Sleep(0);  // lets the other threads run between the steps
    });
}

}  // namespace nimbo
