// UpdateLayeredWindow from a premultiplied copy of the surface.
#include "widget/face/layered_present_win.h"

#include "base/system_library_win.h"
#include "widget/face/dib_section_win.h"

namespace nimbo {
namespace {

bool UpdateLayered(HWND window, HDC source, int width, int height, BYTE constantAlpha) {
    WindowDc screen(nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT destination{rect.left, rect.top};
    SIZE size{width, height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, constantAlpha, AC_SRC_ALPHA};
    auto present = [&] {
        return UpdateLayeredWindow(window, screen.Get(), &destination, &size, source, &origin, 0, &blend, ULW_ALPHA) !=
               FALSE;
    };
    if (present()) return true;
    // Field-proven workaround: the style can be lost (for example after a theme change); set it and retry once.
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    return present();
}

}  // namespace

bool PresentLayered(HWND window, const ArgbSurface& surface, BYTE constantAlpha) {
    LayeredPresenter presenter(surface.width, surface.height);
    presenter.SetPixels(surface.pixels.data(), surface.width);
    return presenter.Present(window, constantAlpha);
}

LayeredPresenter::LayeredPresenter(int width, int height) : m_width(width), m_height(height) {
    void* bits = nullptr;
    m_bitmap = TopDownDib(width, height, &bits);
    m_bits = static_cast<uint32_t*>(bits);
    m_memoryDc.Reset(CreateCompatibleDC(nullptr));
    if (m_bitmap && m_memoryDc) m_select = std::make_unique<SelectGuard>(m_memoryDc.Get(), m_bitmap.Get());
}

void LayeredPresenter::SetPixels(const uint32_t* rows, int stride) {
    if (!m_bits) return;
    for (int y = 0; y < m_height; ++y) {
        const uint32_t* from = rows + static_cast<size_t>(y) * stride;
        uint32_t* to = m_bits + static_cast<size_t>(y) * m_width;
        for (int x = 0; x < m_width; ++x) to[x] = Premultiply(from[x]);
    }
    GdiFlush();
}

bool LayeredPresenter::Present(HWND window, BYTE constantAlpha) const {
    if (!window || !m_select) return false;
    return UpdateLayered(window, m_memoryDc.Get(), m_width, m_height, constantAlpha);
}

FineTimerResolution::FineTimerResolution() {
    static const SystemLibrary multimedia(L"winmm.dll");
    const auto begin = multimedia.Find<decltype(timeBeginPeriod)>("timeBeginPeriod");
    const auto end = multimedia.Find<decltype(timeEndPeriod)>("timeEndPeriod");
    if (begin && end && begin(1) == TIMERR_NOERROR) m_endPeriod = end;
}

FineTimerResolution::~FineTimerResolution() {
    if (m_endPeriod) m_endPeriod(1);
}

}  // namespace nimbo
