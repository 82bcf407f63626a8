// Opens the widget's settings file where the system's folders put it.
#pragma once

#include <memory>

#include "widget/settings_file.h"
#include "widget/settings_place.h"

namespace nimbo {

// The program's own file, the Windows version and the Program Files and application-data folders, asked now.
SystemFolders AskSystemFolders();

// The settings file object of the process: decided once, from the program's folder and never the current one.
std::unique_ptr<SettingsFile> OpenWidgetSettings();

}  // namespace nimbo
