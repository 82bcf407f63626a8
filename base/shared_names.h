// The names by which the widget, its uninstaller and installer find one another: window classes, messages,
// mutexes and the close switch. Other programs (and older widgets) use them as they are written here.
#pragma once

#include <cstdint>

namespace nimbo {

// The widget's main window class; a second start and the uninstaller look for it.
inline constexpr char kMainWindowClass[] = "TNimboMainForm";
// Sent to the running widget by a second start (show) or with -exit and by the uninstaller (close).
inline constexpr uint32_t WM_WIDGET_SHOW = 0x934;
inline constexpr uint32_t WM_WIDGET_CLOSE = 0x935;
// The widget's single-instance mutex; the installer's script opens it by this name too.
inline constexpr char kWidgetMutexName[] = "globalUniqueMutexHandle_nimbo160";
// The switch, after "-" or "/", that makes a second start close the running widget.
inline constexpr char kExitSwitch[] = "exit";

// The generations before this one, which the uninstaller also closes: 1.50 knows -exit and WM_WIDGET_CLOSE
// under the same window class; the first one only answers WM_CLOSE to its own class.
inline constexpr char kWidget150MutexName[] = "globalUniqueMutexHandle_nimbo150";
inline constexpr char kFirstWidgetMutexName[] = "globalUniqueMutexHandle";
inline constexpr char kFirstWidgetWindowClass[] = "TMainForm";

// One uninstaller in removal mode at a time: its mutex and its hidden marker window's class (the two names
// cross over on purpose).
inline constexpr char kUninstallerMutexName[] = "setupnimbo_installer_1.0_Class";
inline constexpr char kUninstallerMarkerClass[] = "setupnimbo_installer_1.0_Mutex";

}  // namespace nimbo
