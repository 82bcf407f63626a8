// UpdateLayeredWindow from a premultiplied copy of the surface.
#include "widget/face/layered_present_win.h"

#include "base/unique_handle_win.h"

namespace nimbo {

bool PresentLayered(HWND window, const ArgbSurface& surface, BYTE constantAlpha) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = surface.width;
    info.bmiHeader.biHeight = -surface.height;  // top-down rows, as the surface holds them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return false;
    auto* target = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < surface.pixels.size(); ++i) target[i] = Premultiply(surface.pixels[i]);

    MemoryDc memoryDc(CreateCompatibleDC(nullptr));
    SelectGuard select(memoryDc.Get(), bitmap.Get());
    WindowDc screen(nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT destination{rect.left, rect.top};
    SIZE size{surface.width, surface.height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, constantAlpha, AC_SRC_ALPHA};
    auto present = [&] {
        return UpdateLayeredWindow(window, screen.Get(), &destination, &size, memoryDc.Get(), &source, 0, &blend,
                                   ULW_ALPHA) != FALSE;
    };
    if (present()) return true;
    // Field-proven workaround: the style can be lost (for example after a theme change); set it and retry once.
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    return present();
}

}  // namespace nimbo
