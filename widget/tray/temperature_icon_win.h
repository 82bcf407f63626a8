// The tray icon's pictures at the size the tray asks for: the temperature's digits, or the application's icon.
#pragma once

#include <windows.h>

#include <string>

#include "base/unique_handle_win.h"
#include "widget/tray/tray_icon.h"
#include "widget/tray/tray_temperature.h"

namespace nimbo {

// The small icon's size at the DPI of the monitor `window` is on (SM_CXSMICON), for systems that scale per
// monitor; the system's size elsewhere.
int TraySmallIconSize(HWND window);

// The digits ("-12", "6", "104") as large as a `size`-pixel square allows, white with a dark outline so they
// read on light and dark taskbars; at half opacity when `dimmed`. Needs a running GDI+; null when a bitmap
// could not be made.
UniqueIcon MakeTemperatureIcon(const std::string& digits, int size, bool dimmed);

// The application's icon (resource 1) from its entry nearest to `size`.
UniqueIcon LoadApplicationIcon(int size);

// Keeps the tray icon's picture in step with what it should show, drawing a new one only when that or the
// tray's size changed. The component lets go of the picture it replaces, which destroys it.
class TrayIconPicture {
public:
    void Show(TTrayIcon& tray, HWND trayWindow, const TrayIconFace& face);

private:
    TrayIconFace m_face;
    int m_size = 0;  // none drawn yet
};

}  // namespace nimbo
