// The temperature drawn as an icon with GDI+, and the application's icon at the tray's size.
#include "widget/tray/temperature_icon_win.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "base/gdiplus_session_win.h"
#include "base/system_library_win.h"
#include "base/wide_text_win.h"
#include "widget/face/dib_section_win.h"
#include "widget/face/font_fallback_win.h"
#include "widget/tray/tray_icon_win.h"
#include "widget/windows/window_dpi_win.h"

namespace nimbo {

namespace {

// Digits taller than wide read better in a few pixels: the height may stretch this much beyond the width's scale.
constexpr float kMostStretch = 1.35f;
constexpr BYTE kOutlineAlpha = 230;

// A DIB section of straight ARGB rows, top-down, as CreateIconIndirect takes with its alpha channel.
UniqueBitmap ColourBitmap(const std::vector<uint32_t>& pixels, int size) {
    void* bits = nullptr;
    UniqueBitmap bitmap = TopDownDib(size, size, &bits);
    if (bitmap && bits) std::copy(pixels.begin(), pixels.end(), static_cast<uint32_t*>(bits));
    return bitmap;
}

// The digits' outline path, centred and scaled into the square less `margin` on every side.
bool DigitsPath(Gdiplus::GraphicsPath& path, const std::wstring& digits, int size, float margin) {
    constexpr float kEm = 100;
    const std::unique_ptr<Gdiplus::Font> font = MakeAvailableFont("Tahoma", kEm, Gdiplus::FontStyleBold);
    Gdiplus::FontFamily family;
    if (!font || font->GetFamily(&family) != Gdiplus::Ok) return false;
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    if (path.AddString(digits.c_str(), static_cast<INT>(digits.size()), &family, Gdiplus::FontStyleBold, kEm,
                       Gdiplus::PointF(0, 0), &format) != Gdiplus::Ok) {
        return false;
    }
    Gdiplus::RectF bounds;
    path.GetBounds(&bounds);
    if (bounds.Width <= 0 || bounds.Height <= 0) return false;
    const float room = static_cast<float>(size) - 2 * margin;
    const float scaleX = std::min(room / bounds.Width, room / bounds.Height);
    const float scaleY = std::min(room / bounds.Height, scaleX * kMostStretch);
    Gdiplus::Matrix place;
    place.Translate(-(bounds.X + bounds.Width / 2), -(bounds.Y + bounds.Height / 2), Gdiplus::MatrixOrderAppend);
    place.Scale(scaleX, scaleY, Gdiplus::MatrixOrderAppend);
    place.Translate(static_cast<float>(size) / 2, static_cast<float>(size) / 2, Gdiplus::MatrixOrderAppend);
    return path.Transform(&place) == Gdiplus::Ok;
}

}  // namespace

int TraySmallIconSize(HWND window) {
    typedef int WINAPI MetricsForDpi(int, UINT);
    const auto metricsForDpi =
        SystemLibrary::FindIn<MetricsForDpi>(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi");
    int size = 0;
    if (metricsForDpi && window) size = metricsForDpi(SM_CXSMICON, static_cast<UINT>(WindowDpi(window)));
    if (size <= 0) size = GetSystemMetrics(SM_CXSMICON);
    return size > 0 ? size : 16;
}

UniqueIcon MakeTemperatureIcon(const std::string& digits, int size, bool dimmed) {
    if (size <= 0 || digits.empty()) return UniqueIcon();
    Gdiplus::Bitmap canvas(size, size, PixelFormat32bppARGB);
    if (canvas.GetLastStatus() != Gdiplus::Ok) return UniqueIcon();
    {
        Gdiplus::Graphics graphics(&canvas);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        // The outline is a pen along the glyphs' edges; the half outside them needs its margin.
        const float outline = std::max(1.0f, static_cast<float>(size) / 16);
        Gdiplus::GraphicsPath path;
        // The minus sign is wider than a hyphen, so a few pixels still tell frost.
        std::wstring text = Widen(digits);
        std::replace(text.begin(), text.end(), L'-', L'\x2212');
        if (DigitsPath(path, text, size, outline)) {
            Gdiplus::Pen pen(Gdiplus::Color(kOutlineAlpha, 24, 24, 24), 2 * outline);
            pen.SetLineJoin(Gdiplus::LineJoinRound);
            graphics.DrawPath(&pen, &path);
            Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
            graphics.FillPath(&white, &path);
        }
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(size);
    data.Height = static_cast<UINT>(size);
    data.Stride = size * 4;
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = pixels.data();
    Gdiplus::Rect all(0, 0, size, size);
    if (canvas.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppARGB,
                        &data) != Gdiplus::Ok) {
        return UniqueIcon();
    }
    canvas.UnlockBits(&data);
    // Dimmed as a whole, so the outline does not show through the white.
    if (dimmed) {
        for (uint32_t& pixel : pixels) pixel = (pixel & 0x00FFFFFF) | (((pixel >> 24) / 2) << 24);
    }

    const UniqueBitmap colour = ColourBitmap(pixels, size);
    // The alpha channel decides; the mask only has to exist.
    const std::vector<BYTE> clear(static_cast<size_t>((size + 15) / 16 * 2) * size, 0);
    const UniqueBitmap mask(CreateBitmap(size, size, 1, 1, clear.data()));
    if (!colour || !mask) return UniqueIcon();
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmMask = mask.Get();
    icon.hbmColor = colour.Get();
    return UniqueIcon(CreateIconIndirect(&icon));
}

UniqueIcon LoadApplicationIcon(int size) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

void TrayIconPicture::Show(TTrayIcon& tray, HWND trayWindow, const TrayIconFace& face) {
    const int size = TraySmallIconSize(trayWindow);
    if (face == m_face && size == m_size) return;
    UniqueIcon icon = face.digits.empty() ? UniqueIcon() : MakeTemperatureIcon(face.digits, size, face.dimmed);
    if (!icon) icon = LoadApplicationIcon(size);
    if (!icon) return;
    tray.SetIcon(OwnedTrayIcon(std::move(icon)));
    m_face = face;
    m_size = size;
}

}  // namespace nimbo
