// A plain glass panel that stands for the face until the face is drawn from the weather.
#pragma once

#include "widget/face/argb_surface.h"

namespace nimbo {

// Fills the surface with a rounded, translucent panel: opaque enough to be seen on any desktop,
// transparent outside its rounded corners.
void DrawPlaceholderFace(ArgbSurface& surface);

}  // namespace nimbo
