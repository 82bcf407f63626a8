// The controller's side of the options dialog: what happens around it, in which order, whatever fails.
#pragma once

#include <functional>

namespace nimbo {

struct OptionsOutcome {
    bool confirmed = false;
    bool locationChanged = false;
};

// The main form's operations that opening the options dialog uses.
struct OptionsOpening {
    std::function<void(bool)> setCheckTimerEnabled;
    std::function<bool()> autoUpdate;  // General/AutoUpdate as the widget holds it
    std::function<void()> saveWidgetSettings;
    std::function<OptionsOutcome()> runDialog;  // creates, shows and frees the dialog
    std::function<void()> loadWidgetSettings;
    std::function<void()> startWeatherDownload;
    std::function<void()> composeFace;
    std::function<void()> rebuildInfoText;
    std::function<void()> applyInfoWindow;  // shows or hides it as Appearance/ShowInfoText says
};

// Stops the check timer, saves the widget's state and runs the dialog; after OK reloads the settings and
// downloads the new place or redraws, after Cancel redraws. The timer is switched back on as General/AutoUpdate
// says even when a step raises (a refused save of a read-only settings file), and the error then goes on.
void OpenOptions(const OptionsOpening& form);

}  // namespace nimbo
