// What a layered window's face is made of: a list of drawing operations that portable code computes and the
// GDI+ renderer executes, the tinted glass background, and the alphas of a fade.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace nimbo {

struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;

    bool operator==(const RectF& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

struct SizeI {
    int width = 0;
    int height = 0;
};

// An integer rectangle (left, top, right, bottom) as a float one (left, top, width, height).
RectF RectOfBounds(int left, int top, int right, int bottom);
RectF MovedRect(RectF rect, float dx, float dy);

// Rounds to the nearest whole number, halves to the even neighbour (12.5 -> 12, 13.5 -> 14).
int RoundHalfEven(double value);

// A 5x5 colour matrix, rows and columns red, green, blue, alpha, w, applied to row vectors; row-major.
using ColorMatrix = std::array<float, 25>;

ColorMatrix IdentityMatrix();

// The glass tint: the identity with the diagonal 2R/255, 2G/255, 2B/255, A/255, 1. A mid-grey slice (128)
// thus takes the tint colour itself. `rgb` is 0x00RRGGBB.
ColorMatrix TintMatrix(uint32_t rgb, uint8_t alpha);

// How a picture's pixels are sampled: as they are, through a tint with tiled wrapping, or tiled wrapping
// alone (stretched slices must not fade at their edges).
enum class PictureMode : uint8_t { Plain, Tinted, Tiled };

inline constexpr float kNaturalSize = -1;

// A picture from the resources folder, `name` relative to "Contents\Resources" with backslashes
// ("Big\Sun.png"). A destination width of kNaturalSize draws the whole picture at its own size.
struct PictureOp {
    std::string name;
    RectF destination;
    RectF source;  // unused for natural size
    PictureMode mode = PictureMode::Plain;
    ColorMatrix matrix = IdentityMatrix();  // for PictureMode::Tinted
    float opacity = 1;                      // 0.5 draws it half transparent
};

enum class FontUnit : uint8_t { Pixel, Point };

struct FontSpec {
    std::string family;
    float size = 0;
    FontUnit unit = FontUnit::Pixel;
    bool bold = false;
    bool italic = false;

    bool operator==(const FontSpec& o) const {
        return family == o.family && size == o.size && unit == o.unit && bold == o.bold && italic == o.italic;
    }
};

// GDI+ StringAlignment values.
enum class TextAlign : uint8_t { Near = 0, Center = 1, Far = 2 };

inline constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;
inline constexpr uint32_t kOpaqueBlack = 0xFF000000;
inline constexpr uint32_t kTranslucentWhite = 0xC8FFFFFF;

// A text that wraps within the rectangle's width; with a shadow, it is first drawn in opaque black one
// pixel down and right.
struct TextOp {
    std::string text;  // UTF-8
    RectF rect;
    FontSpec font;
    uint32_t color = kOpaqueWhite;  // ARGB
    TextAlign align = TextAlign::Near;
    bool shadow = false;
    float opacity = 1;  // of the text and its shadow together
};

// Makes the whole surface transparent.
struct ClearOp {
    bool operator==(const ClearOp&) const { return true; }
};

using DrawOp = std::variant<ClearOp, PictureOp, TextOp>;
using DrawList = std::vector<DrawOp>;

// What stale weather is drawn with.
inline constexpr float kStaleOpacity = 0.5f;

// Gives the pictures and texts from `first` to the end of the list `opacity`.
void SetOpacity(DrawList& ops, size_t first, float opacity);

// What layout needs from the drawing system: the size of a picture (0 x 0 when it is missing or unreadable)
// and the box a text takes from (0, 0) without a layout width.
class FaceMeasurer {
public:
    virtual ~FaceMeasurer() = default;
    virtual SizeI PictureSize(const std::string& name) const = 0;
    virtual RectF MeasureText(const std::string& text, TextAlign align, const FontSpec& font) const = 0;
    // The box of a text wrapped within `width`, as a text operation of that width draws it.
    virtual RectF MeasureWrappedText(const std::string& text, TextAlign align, const FontSpec& font,
                                     float width) const {
        (void)width;
        return MeasureText(text, align, font);
    }
};

// The seven pictures of every glass background.
extern const std::array<const char*, 7> kBackgroundPictures;

struct GlassTint {
    uint32_t rgb = 0;  // 0x00RRGGBB
    uint8_t alpha = 0;
};

// Draws the glass at `origin` (the window's BackgrndLbl) with its middle slices `stretch` times their height.
// `width` is the glass width: the slices' own width draws them as they are; a wider glass keeps the rounded
// ends at their size and widens only the part between them. `reflectionDx` places "Reflection.png".
// `middleExtra` pixels are added to both middle slices before rounding (never below 0), so a glass can grow
// with its text.
void DrawBackground(DrawList& ops, const FaceMeasurer& measurer, int originX, int originY, int width, float stretch,
                    GlassTint tint, int reflectionDx = 7, float middleExtra = 0);

// FaceAlpha's targets: hidden, shown, and shown while hibernating.
inline constexpr uint8_t kHiddenAlpha = 0;
inline constexpr uint8_t kFullAlpha = 255;
inline constexpr uint8_t kHibernateAlpha = 127;

inline constexpr uint8_t kFadeStep = 18;
inline constexpr uint32_t kFadeDelayMs = 2;

// The alpha of every present of a fade from `from` towards `target`; the fade sleeps between them, not after
// the last. Empty when the alpha already is at or beyond the target in the fade's direction.
std::vector<uint8_t> FadeInAlphas(uint8_t from, uint8_t target, uint8_t step = kFadeStep);
std::vector<uint8_t> FadeOutAlphas(uint8_t from, uint8_t target, uint8_t step = kFadeStep);

}  // namespace nimbo
