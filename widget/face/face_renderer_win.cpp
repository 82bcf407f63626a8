// GDI+ execution of the face's drawing operations, and its presentation on a layered window.
#include "widget/face/face_renderer_win.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <set>
#include <type_traits>

#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "widget/face/font_fallback_win.h"
#include "widget/face/layered_present_win.h"

namespace nimbo {

namespace {

using PictureMap = std::map<std::string, std::unique_ptr<Gdiplus::Bitmap>>;

// A picture file, or nothing when it is missing or unreadable. Its pixels are copied into a bitmap of the
// surface's format, so the decoder and the file's bytes that a decoded picture holds on to go at once.
std::unique_ptr<Gdiplus::Bitmap> DecodePicture(const std::string& name) {
    const std::wstring path = L".\\Contents\\Resources\\" + Widen(name);
    Gdiplus::Bitmap decoded(path.c_str());
    if (decoded.GetLastStatus() != Gdiplus::Ok || decoded.GetWidth() == 0) return nullptr;
    const auto width = static_cast<INT>(decoded.GetWidth());
    const auto height = static_cast<INT>(decoded.GetHeight());
    auto picture = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::BitmapData target{};
    Gdiplus::Rect all(0, 0, width, height);
    if (picture->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &target) != Gdiplus::Ok) {
        return nullptr;
    }
    Gdiplus::BitmapData source = target;
    const bool copied = decoded.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                         PixelFormat32bppARGB, &source) == Gdiplus::Ok;
    if (copied) decoded.UnlockBits(&source);
    picture->UnlockBits(&target);
    return copied ? std::move(picture) : nullptr;
}

// The picture at `width` x `height`, filtered with the best quality GDI+ has. The edges repeat mirrored, so
// the border pixels do not fade against the transparent outside.
std::unique_ptr<Gdiplus::Bitmap> Resampled(Gdiplus::Bitmap& picture, INT width, INT height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto scaled = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics g(scaled.get());
    g.Clear(Gdiplus::Color(0, 0, 0, 0));
    g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes edges;
    edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    g.DrawImage(&picture, Gdiplus::Rect(0, 0, width, height), 0, 0, static_cast<INT>(picture.GetWidth()),
                static_cast<INT>(picture.GetHeight()), Gdiplus::UnitPixel, &edges);
    return scaled;
}

// A picture as the window draws it: decoded, then scaled once from the file's density to the window's.
struct LoadedPicture {
    std::unique_ptr<Gdiplus::Bitmap> bitmap;  // null when the file is missing or unreadable
    SizeI file;
};

LoadedPicture LoadPicture(const std::string& name, const DisplayScale& scale) {
    LoadedPicture loaded;
    loaded.bitmap = DecodePicture(name);
    if (!loaded.bitmap) return loaded;
    loaded.file = {static_cast<int>(loaded.bitmap->GetWidth()), static_cast<int>(loaded.bitmap->GetHeight())};
    const auto pixels = [&](int filePixels) {
        return static_cast<INT>(
            std::lround(static_cast<double>(filePixels) * scale.Dpi() / (kLayoutDpi * kPictureDensity)));
    };
    const INT width = pixels(loaded.file.width);
    const INT height = pixels(loaded.file.height);
    if (width != loaded.file.width || height != loaded.file.height) {
        loaded.bitmap = Resampled(*loaded.bitmap, width, height);
    }
    return loaded;
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

bool SameMatrix(const ColorMatrix& a, const ColorMatrix& b) { return std::equal(a.begin(), a.end(), b.begin()); }

bool SameOp(const DrawOp& a, const DrawOp& b) {
    if (a.index() != b.index()) return false;
    if (const auto* p = std::get_if<PictureOp>(&a)) {
        const auto& q = std::get<PictureOp>(b);
        return p->name == q.name && p->destination == q.destination && p->source == q.source && p->mode == q.mode &&
               SameMatrix(p->matrix, q.matrix);
    }
    return std::holds_alternative<ClearOp>(a);  // texts never belong to the glass
}

bool SameOps(const DrawList& ops, size_t count, const DrawList& kept) {
    if (kept.size() != count) return false;
    for (size_t i = 0; i < count; ++i) {
        if (!SameOp(ops[i], kept[i])) return false;
    }
    return true;
}

// The glass: a clear followed by background slices, at the start of a list; 0 when the list starts otherwise.
size_t GlassLength(const DrawList& ops) {
    if (ops.empty() || !std::holds_alternative<ClearOp>(ops[0])) return 0;
    size_t length = 1;
    while (length < ops.size()) {
        const auto* picture = std::get_if<PictureOp>(&ops[length]);
        if (!picture || std::find(kBackgroundPictures.begin(), kBackgroundPictures.end(), picture->name) ==
                            kBackgroundPictures.end()) {
            break;
        }
        ++length;
    }
    return length > 1 ? length : 0;
}

// Whole rows of 0xAARRGGBB between a bitmap and `pixels`: read from the bitmap, or written to it. False when the
// bitmap could not be locked.
bool TransferPixels(Gdiplus::Bitmap& bitmap, uint32_t* pixels, Gdiplus::ImageLockMode direction) {
    Gdiplus::BitmapData data{};
    data.Width = bitmap.GetWidth();
    data.Height = bitmap.GetHeight();
    data.Stride = static_cast<INT>(data.Width * 4);
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = pixels;
    Gdiplus::Rect all(0, 0, static_cast<INT>(data.Width), static_cast<INT>(data.Height));
    if (bitmap.LockBits(&all, direction | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok) {
        return false;
    }
    bitmap.UnlockBits(&data);
    return true;
}

// A copy of the picture through the colour matrix, as GDI+ applies one to straight ARGB colours: each
// component of the result is the row vector (r, g, b, a, 1) times the matrix's column, clamped.
std::unique_ptr<Gdiplus::Bitmap> Tinted(Gdiplus::Bitmap& picture, const ColorMatrix& m) {
    const auto width = static_cast<INT>(picture.GetWidth());
    const auto height = static_cast<INT>(picture.GetHeight());
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    if (!TransferPixels(picture, pixels.data(), Gdiplus::ImageLockModeRead)) return nullptr;
    for (uint32_t& pixel : pixels) {
        const float in[5] = {((pixel >> 16) & 0xFF) / 255.0f, ((pixel >> 8) & 0xFF) / 255.0f, (pixel & 0xFF) / 255.0f,
                             (pixel >> 24) / 255.0f, 1.0f};
        uint32_t out[4] = {};  // r, g, b, a
        for (int column = 0; column < 4; ++column) {
            float value = 0;
            for (int row = 0; row < 5; ++row) value += in[row] * m[row * 5 + column];
            out[column] = static_cast<uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
        }
        pixel = out[3] << 24 | out[0] << 16 | out[1] << 8 | out[2];
    }
    auto tinted = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    if (!TransferPixels(*tinted, pixels.data(), Gdiplus::ImageLockModeWrite)) return nullptr;
    return tinted;
}

struct TextPicture {
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    int left = 0;
    int top = 0;
};

std::string TextKey(const TextOp& op) {
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "|%g|%g|%g|%g|%g|%d|%d|%d|%08X|%d|%d", op.rect.x, op.rect.y, op.rect.width,
                  op.rect.height, op.font.size, static_cast<int>(op.font.unit), op.font.bold, op.font.italic, op.color,
                  static_cast<int>(op.align), op.shadow);
    return op.text + "|" + op.font.family + numbers;
}

// The text (and its shadow) on a transparent picture of its own, placed so that its pixels fall where a
// direct drawing would put them; compositing it gives the same face.
// Attributes that scale every pixel's alpha by `opacity`.
void SetOpacity(Gdiplus::ImageAttributes& attributes, float opacity) {
    Gdiplus::ColorMatrix matrix = {
        {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, opacity, 0}, {0, 0, 0, 0, 1}}};
    attributes.SetColorMatrix(&matrix);
}

TextPicture RenderText(const TextOp& op, const Gdiplus::Font* font) {
    TextPicture text;
    text.left = static_cast<int>(std::floor(op.rect.x));
    text.top = static_cast<int>(std::floor(op.rect.y));
    const int width = static_cast<int>(std::ceil(op.rect.x + op.rect.width)) - text.left + 2;
    const int height = static_cast<int>(std::ceil(op.rect.y + op.rect.height)) - text.top + 2;
    if (width <= 0 || height <= 0) return text;
    text.bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics g(text.bitmap.get());
    g.Clear(Gdiplus::Color(0, 0, 0, 0));
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    g.TranslateTransform(static_cast<float>(-text.left), static_cast<float>(-text.top));
    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(op.align));
    const std::wstring wide = Widen(op.text);
    const auto length = static_cast<INT>(wide.size());
    if (op.shadow) {
        Gdiplus::SolidBrush black(ArgbColor(kOpaqueBlack));
        g.DrawString(wide.c_str(), length, font, ToGdiplus(MovedRect(op.rect, 1, 1)), &format, &black);
    }
    Gdiplus::SolidBrush brush(ArgbColor(op.color));
    g.DrawString(wide.c_str(), length, font, ToGdiplus(op.rect), &format, &brush);
    return text;
}

}  // namespace

struct FacePainter::Resources {
    Resources(SizeI size, const DisplayScale& windowScale)
        : scale(windowScale),
          pixels(static_cast<size_t>(size.width) * static_cast<size_t>(size.height)),
          surface(size.width, size.height, size.width * 4, PixelFormat32bppARGB,
                  reinterpret_cast<BYTE*>(pixels.data())),
          graphics(&surface),
          presenter(size.width, size.height) {
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    }
    DisplayScale scale;
    // The surface draws into memory of its own, so that keeping, restoring and presenting it are plain copies
    // (GDI+'s locking converts pixel by pixel under Wine, which shows at twice the size).
    std::vector<uint32_t> pixels;
    Gdiplus::Bitmap surface;
    Gdiplus::Graphics graphics;
    LayeredPresenter presenter;
    bool presenterStale = true;  // the surface changed since the presenter's copy was made

    // Pictures decoded when first drawn or measured: the fixed ones stay, the others while compositions keep
    // drawing them. A missing picture is remembered as null.
    std::set<std::string> fixedNames;
    std::map<std::string, LoadedPicture> pictures;
    std::set<std::string> drawnNow;

    // The glass (the leading clear and background slices) depends only on the settings, the size and the
    // stretch: the surface after it is kept with the operations that made it.
    DrawList glassOps;
    std::vector<uint32_t> glassPixels;

    // Texts drawn once onto pictures of their own, kept while compositions keep drawing them.
    std::map<std::string, TextPicture> texts;
    std::set<std::string> textsNow;

    // The tinted slices, tinted once: the tint changes only with the settings.
    ColorMatrix tint = IdentityMatrix();
    PictureMap tinted;

    Gdiplus::Bitmap* TintedPicture(const std::string& name, const ColorMatrix& matrix) {
        if (!SameMatrix(matrix, tint)) {
            tinted.clear();
            tint = matrix;
        }
        auto it = tinted.find(name);
        if (it == tinted.end()) {
            Gdiplus::Bitmap* picture = Picture(name);
            it = tinted.emplace(name, picture ? Tinted(*picture, matrix) : nullptr).first;
        }
        drawnNow.insert(name);
        return it->second.get();
    }

    // By name: a tint maps equal pixels to equal pixels, so the tinted copy has alike rows when its picture does.
    std::map<std::string, bool> rowsAlike;

    bool RowsAlike(const std::string& name) {
        const auto it = rowsAlike.find(name);
        if (it != rowsAlike.end()) return it->second;
        Gdiplus::Bitmap* picture = Picture(name);
        if (!picture) return false;
        bool alike = false;
        Gdiplus::BitmapData data{};
        Gdiplus::Rect all(0, 0, static_cast<INT>(picture->GetWidth()), static_cast<INT>(picture->GetHeight()));
        if (picture->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) == Gdiplus::Ok) {
            const auto* first = static_cast<const BYTE*>(data.Scan0);
            alike = true;
            for (UINT y = 1; y < data.Height && alike; ++y) {
                alike = std::equal(first, first + data.Width * 4, first + static_cast<ptrdiff_t>(y) * data.Stride);
            }
            picture->UnlockBits(&data);
        }
        rowsAlike[name] = alike;
        return alike;
    }

    const LoadedPicture& Loaded(const std::string& name) {
        auto it = pictures.find(name);
        if (it == pictures.end()) it = pictures.emplace(name, LoadPicture(name, scale)).first;
        drawnNow.insert(name);
        return it->second;
    }

    Gdiplus::Bitmap* Picture(const std::string& name) { return Loaded(name).bitmap.get(); }

    // Drops what the last composition did not draw.
    void ForgetUnused() {
        for (auto it = pictures.begin(); it != pictures.end();) {
            it = fixedNames.count(it->first) || drawnNow.count(it->first) ? std::next(it) : pictures.erase(it);
        }
        for (auto it = texts.begin(); it != texts.end();)
            it = textsNow.count(it->first) ? std::next(it) : texts.erase(it);
        drawnNow.clear();
        textsNow.clear();
    }

    // Fonts by description, made once: finding a family is costly, and a face uses only a handful of fonts.
    mutable std::map<std::string, std::unique_ptr<Gdiplus::Font>> fonts;

    const Gdiplus::Font* FontOf(const FontSpec& spec) const {
        const std::string key = spec.family + "|" + std::to_string(spec.size) + "|" +
                                std::to_string(static_cast<int>(spec.unit)) + (spec.bold ? "b" : "") +
                                (spec.italic ? "i" : "");
        std::unique_ptr<Gdiplus::Font>& font = fonts[key];
        if (!font) font = MakeFont(spec);
        return font.get();
    }

    // The GDI+ font of a font description in pixels (ScaledFont); a family the system lacks falls back
    // (MakeAvailableFont).
    static std::unique_ptr<Gdiplus::Font> MakeFont(const FontSpec& spec) {
        const float pixels = spec.size;
        INT style = Gdiplus::FontStyleRegular;
        if (spec.bold) style |= Gdiplus::FontStyleBold;
        if (spec.italic) style |= Gdiplus::FontStyleItalic;
        return MakeAvailableFont(spec.family, pixels, style);
    }
};

FacePainter::FacePainter(HWND window, int width, int height, const std::vector<std::string>& fixedPictures, BYTE alpha,
                         int dpi)
    : m_window(window), m_alpha(alpha), m_units{width, height}, m_fixedPictures(fixedPictures), m_pixelMeasurer(*this) {
    SetDpi(dpi);
    if (window && !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    }
}

FacePainter::~FacePainter() = default;

void FacePainter::SetDpi(int dpi) {
    const DisplayScale scale(dpi);
    if (m_resources && scale == m_resources->scale) return;
    m_resources = std::make_unique<Resources>(scale.Pixels(m_units), scale);
    m_resources->fixedNames.insert(m_fixedPictures.begin(), m_fixedPictures.end());
}

const DisplayScale& FacePainter::Scale() const { return m_resources->scale; }

SizeI FacePainter::PixelSize() const { return Scale().Pixels(m_units); }

SizeI FacePainter::PictureSize(const std::string& name) const {
    return LayoutMeasurer(m_pixelMeasurer, Scale()).PictureSize(name);
}

RectF FacePainter::MeasureText(const std::string& text, TextAlign align, const FontSpec& font) const {
    return LayoutMeasurer(m_pixelMeasurer, Scale()).MeasureText(text, align, font);
}

RectF FacePainter::MeasureWrappedText(const std::string& text, TextAlign align, const FontSpec& font,
                                      float width) const {
    return LayoutMeasurer(m_pixelMeasurer, Scale()).MeasureWrappedText(text, align, font, width);
}

SizeI FacePainter::PixelMeasurer::PictureSize(const std::string& name) const {
    return m_painter.m_resources->Loaded(name).file;
}

RectF FacePainter::PixelMeasurer::MeasureText(const std::string& text, TextAlign align, const FontSpec& font) const {
    return MeasureWrappedText(text, align, font, 0);
}

RectF FacePainter::PixelMeasurer::MeasureWrappedText(const std::string& text, TextAlign align, const FontSpec& font,
                                                     float width) const {
    Resources& resources = *m_painter.m_resources;
    const Gdiplus::Font* gdiFont = resources.FontOf(font);
    Gdiplus::StringFormat format(0, LANG_NEUTRAL);
    format.SetAlignment(static_cast<Gdiplus::StringAlignment>(align));
    const std::wstring wide = Widen(text);
    Gdiplus::RectF box;
    // A layout of no width wraps nothing.
    resources.graphics.MeasureString(wide.c_str(), static_cast<INT>(wide.size()), gdiFont,
                                     Gdiplus::RectF(0, 0, width, 0), &format, &box);
    return {box.X, box.Y, box.Width, box.Height};
}

void FacePainter::Draw(const DrawList& layoutOps) {
    const DrawList ops = ScaledDrawList(layoutOps, Scale());
    m_resources->presenterStale = true;
    const size_t glass = GlassLength(ops);
    size_t first = 0;
    if (glass > 0 && SameOps(ops, glass, m_resources->glassOps)) {
        RestoreSurface(m_resources->glassPixels);
        first = glass;
        for (size_t i = 1; i < glass; ++i) m_resources->drawnNow.insert(std::get<PictureOp>(ops[i]).name);
    }
    for (size_t i = first; i < ops.size(); ++i) {
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
            ops[i]);
        if (i + 1 == glass) {
            m_resources->glassOps.assign(ops.begin(), ops.begin() + static_cast<std::ptrdiff_t>(glass));
            CopySurfaceInto(m_resources->glassPixels);  // the same buffer at every step of a growth
        }
    }
    m_resources->ForgetUnused();
}

void FacePainter::DrawPicture(const PictureOp& op) {
    Gdiplus::Bitmap* picture =
        op.mode == PictureMode::Tinted ? m_resources->TintedPicture(op.name, op.matrix) : m_resources->Picture(op.name);
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
        used = &attributes;
    }
    if (op.opacity < 1) {
        SetOpacity(attributes, op.opacity);
        used = &attributes;
    }
    // A picture whose rows are all alike, stretched only in height, looks the same whichever rows are sampled:
    // the nearest row is as good as a blend of two and far cheaper (the glass's middle slices while it grows).
    Gdiplus::Graphics& g = m_resources->graphics;
    const bool nearest = scaleX == 1 && scaleY != 1 && m_resources->RowsAlike(op.name);
    if (nearest) g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    g.DrawImage(picture, ToGdiplus(destination), source.x, source.y, source.width, source.height, Gdiplus::UnitPixel,
                used);
    if (nearest) g.SetInterpolationMode(Gdiplus::InterpolationModeDefault);
}

void FacePainter::DrawText(const TextOp& op) {
    if (op.text.empty()) return;
    const std::string key = TextKey(op);
    m_resources->textsNow.insert(key);
    auto it = m_resources->texts.find(key);
    if (it == m_resources->texts.end()) {
        it = m_resources->texts.emplace(key, RenderText(op, m_resources->FontOf(op.font))).first;
    }
    const TextPicture& text = it->second;
    if (!text.bitmap) return;
    const auto width = static_cast<INT>(text.bitmap->GetWidth());
    const auto height = static_cast<INT>(text.bitmap->GetHeight());
    if (op.opacity >= 1) {
        m_resources->graphics.DrawImage(text.bitmap.get(), text.left, text.top, width, height);
        return;
    }
    Gdiplus::ImageAttributes attributes;
    SetOpacity(attributes, op.opacity);
    m_resources->graphics.DrawImage(text.bitmap.get(), Gdiplus::Rect(text.left, text.top, width, height), 0, 0, width,
                                    height, Gdiplus::UnitPixel, &attributes);
}

void FacePainter::CopySurfaceInto(std::vector<uint32_t>& pixels) const {
    m_resources->graphics.Flush(Gdiplus::FlushIntentionSync);
    pixels.assign(m_resources->pixels.begin(), m_resources->pixels.end());
}

void FacePainter::RestoreSurface(std::vector<uint32_t>& pixels) {
    m_resources->graphics.Flush(Gdiplus::FlushIntentionSync);
    std::copy(pixels.begin(), pixels.end(), m_resources->pixels.begin());
}

ArgbSurface FacePainter::Pixels() const {
    ArgbSurface pixels(static_cast<int>(m_resources->surface.GetWidth()),
                       static_cast<int>(m_resources->surface.GetHeight()));
    CopySurfaceInto(pixels.pixels);
    return pixels;
}

bool FacePainter::Present() {
    if (!m_window) return false;
    if (m_resources->presenterStale) {
        m_resources->graphics.Flush(Gdiplus::FlushIntentionSync);
        m_resources->presenter.SetPixels(m_resources->pixels.data(), static_cast<int>(m_resources->surface.GetWidth()));
        m_resources->presenterStale = false;
    }
    return m_resources->presenter.Present(m_window, m_alpha);
}

bool FacePainter::PresentAlpha(BYTE alpha) {
    m_alpha = alpha;
    return Present();
}

void FacePainter::FadeIn(BYTE target) { Fade(FadeInAlphas(m_alpha, target)); }

void FacePainter::FadeOut(BYTE target) { Fade(FadeOutAlphas(m_alpha, target)); }

// The steps keep their cadence of kFadeDelayMs: the time a present takes counts towards the wait before the
// next one, so a fade lasts its steps' delays however slow the presents are.
void FacePainter::Fade(const std::vector<uint8_t>& alphas) {
    const FineTimerResolution fineTimer;
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (size_t i = 0; i < alphas.size(); ++i) {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        const auto elapsedMs = static_cast<long long>((now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
        const auto dueMs = static_cast<long long>(i * kFadeDelayMs);
        if (elapsedMs < dueMs) Sleep(static_cast<DWORD>(dueMs - elapsedMs));
        PresentAlpha(alphas[i]);
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

MainFace::MainFace(HWND window, BYTE alpha, int dpi)
    : m_painter(window, kMainFaceWidth, kMainFaceHeight, MainFacePictures(), alpha, dpi),
      m_layout(MainFaceLayout(ViewStyle::Small, "Arial", "Arial")) {}

void MainFace::SetFonts(const std::string& tempFontName, const std::string& cityFontName) {
    m_layout.temperatureLbl.font.family = tempFontName;
    m_layout.cityNameLbl.font.family = cityFontName;
}

void MainFace::Compose(const FaceInputs& inputs) { ComposeMainFace(m_painter, m_layout, inputs); }

bool MainFace::ChangeViewStyle(ViewStyle target, const FaceInputs& inputs) {
    return nimbo::ChangeViewStyle(target, m_layout, [&] { Compose(inputs); });
}

void MainFace::GrowToViewStyle(bool animate, const WidgetSettings& settings) {
    FirstLoadGrowth(m_layout, animate, [&] {
        ComposeMainBackdrop(m_painter, m_layout, settings);
        Sleep(0);  // lets the other threads run between the steps
    });
}

}  // namespace nimbo
