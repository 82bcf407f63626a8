// The monitors' work areas, where the controller keeps the widget (KeepOnScreen).
#pragma once

#include <windows.h>

#include <vector>

#include "widget/screen_placement.h"

namespace nimbo {

// The work areas of every monitor attached now.
std::vector<ScreenRect> MonitorWorkAreas();

}  // namespace nimbo
