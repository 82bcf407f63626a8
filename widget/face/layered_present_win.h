// Shows an ARGB surface on a layered window with per-pixel alpha and one constant alpha on top.
#pragma once

#include <windows.h>

#include "widget/face/argb_surface.h"

namespace nimbo {

// Returns false when the system refused to show the picture even after the layered style was re-applied.
bool PresentLayered(HWND window, const ArgbSurface& surface, BYTE constantAlpha);

}  // namespace nimbo
