// Shows an ARGB surface on a layered window with per-pixel alpha and one constant alpha on top.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>

#include "base/unique_handle_win.h"
#include "widget/face/argb_surface.h"

namespace nimbo {

// Returns false when the system refused to show the picture even after the layered style was re-applied.
bool PresentLayered(HWND window, const ArgbSurface& surface, BYTE constantAlpha);

// The premultiplied picture a layered window shows, kept between presents: a new constant alpha (a fade step)
// is shown without converting or copying a pixel.
class LayeredPresenter {
public:
    LayeredPresenter(int width, int height);
    LayeredPresenter(const LayeredPresenter&) = delete;
    LayeredPresenter& operator=(const LayeredPresenter&) = delete;

    // Premultiplies straight 0xAARRGGBB rows (`stride` in pixels) into the picture.
    void SetPixels(const uint32_t* rows, int stride);
    // False when the system refused to show the picture even after the layered style was re-applied.
    bool Present(HWND window, BYTE constantAlpha) const;

private:
    int m_width;
    int m_height;
    uint32_t* m_bits = nullptr;
    UniqueBitmap m_bitmap;
    MemoryDc m_memoryDc;
    std::unique_ptr<SelectGuard> m_select;
};

// Raises the system timer's resolution to 1 ms for as long as it lives, so that the 2 ms sleeps between fade
// steps last 2 ms and not a whole default tick of about 15 ms. The multimedia library is loaded at the first
// fade and kept: under Wine loading it takes longer than a sixth of a whole fade.
class FineTimerResolution {
public:
    FineTimerResolution();
    ~FineTimerResolution();
    FineTimerResolution(const FineTimerResolution&) = delete;
    FineTimerResolution& operator=(const FineTimerResolution&) = delete;

private:
    decltype(timeEndPeriod)* m_endPeriod = nullptr;
};

}  // namespace nimbo
