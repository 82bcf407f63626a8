// WidgetView: what the widget controller asks of the windows it runs in. The main form implements it on Windows;
// the controller's tests run against a fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "widget/config/options_model.h"
#include "widget/face/face_layout.h"
#include "widget/face/info_face.h"
#include "widget/screen_placement.h"
#include "widget/server_config.h"
#include "widget/system_time.h"
#include "widget/tray/tray_temperature.h"

namespace nimbo {

// The widget's three requests; at most one of each kind runs at a time.
enum class DownloadKind : uint8_t { Weather, Address, Version };

// The widget's timers. The values are their WM_TIMER identifiers, so a test can deliver a tick by posting one.
enum class WidgetTimer : uint8_t {
    Refresh = 1,            // the periodic feed download, every General/UpdatePeriod
    StartupDelay = 2,       // 250 ms after start: the widget fades in
    VersionCheckDelay = 3,  // 3 s after start: the one version check of a run
    HibernationWake = 4,    // every 200 ms while hibernating: Ctrl over the widget wakes it
    WeatherAge = 5,         // every minute: the weather's age line and its staleness follow the clock
};

// The two windows that show the weather: the widget itself and the information window.
enum class WidgetWindow : uint8_t { Main, Info };

class WidgetView {
public:
    virtual ~WidgetView() = default;

    // Frees the finished download of `kind` and starts one on `url`; false when its thread could not start. Its
    // end comes back as WidgetController::DownloadDone.
    virtual bool StartDownload(DownloadKind kind, const std::string& url) = 0;
    virtual bool DownloadRunning(DownloadKind kind) const = 0;

    // Ticks every `intervalMs` from now on; a running timer counts again from zero.
    virtual void StartTimer(WidgetTimer timer, uint32_t intervalMs) = 0;
    virtual void StopTimer(WidgetTimer timer) = 0;

    // The main face: composed from the inputs and presented, with its hints.
    virtual void ComposeFace(const FaceInputs& inputs) = 0;
    // The view style the face is laid out for, and the fonts of the temperature and the place.
    virtual void SetFaceStyle(ViewStyle style, const std::string& temperatureFont, const std::string& placeFont) = 0;
    // The growth after a feed: the glass brought to the view style's size, step by step when `animate`.
    virtual void GrowFace(bool animate, const WidgetSettings& settings) = 0;
    // Grows or shrinks the face to `style`, composing every step from `inputs`; false when it already had it.
    virtual bool ChangeViewStyle(ViewStyle style, const FaceInputs& inputs) = 0;

    // The information window's face, redrawn from the inputs.
    virtual void DrawInfoWindow(const InfoFaceInputs& inputs) = 0;

    // Shows a window and fades it in to `fullAlpha` (the information window only when hidden); without fading
    // the alpha is set at once.
    virtual void Show(WidgetWindow window, uint8_t fullAlpha, bool fade) = 0;
    // Fades a shown window out and hides it.
    virtual void Hide(WidgetWindow window, bool fade) = 0;
    // Hibernation: dimmed to `fullAlpha` and letting the mouse through, or back as it was.
    virtual void SetHibernating(WidgetWindow window, bool on, uint8_t fullAlpha, bool fade) = 0;
    virtual void SetTopMost(WidgetWindow window, bool topMost) = 0;
    // Where a window stands on the screen; the information window's is kept after the system destroyed it.
    virtual ScreenRect WindowRect(WidgetWindow window) const = 0;
    virtual void MoveTo(WidgetWindow window, int left, int top) = 0;
    // The work areas of the monitors attached now.
    virtual std::vector<ScreenRect> WorkAreas() const = 0;
    // The widget takes the foreground.
    virtual void BringToFront() = 0;
    // The widget's window keeps the mouse's messages while a button is held, wherever the mouse goes.
    virtual void CaptureMouse(bool on) = 0;
    // How far the mouse may wander with the button held and still click rather than move the widget.
    virtual ScreenPoint DragThreshold() const = 0;
    // ExitAction: asks the window to close once the current message is handled.
    virtual void RequestClose() = 0;
    // Ends the widget's window, and with it the program.
    virtual void DestroyWidget() = 0;
    // The about window, faded in to `fullAlpha`; it hides itself.
    virtual void ShowAboutWindow(uint8_t fullAlpha, bool fade) = 0;

    // The tray icon.
    virtual void SetTrayIconVisible(bool visible) = 0;
    virtual void SetTrayHint(const std::string& hint) = 0;
    // The temperature's digits drawn at the size the tray asks for, or the application's icon.
    virtual void SetTrayIcon(const TrayIconFace& face) = 0;
    virtual void ShowTrayBalloon(const std::string& text) = 0;

    // The options dialog, modal, opened on `page` (a negative page: the one stored in Appearance/LastTabSheet).
    virtual OptionsOutcome RunOptionsDialog(int page, const ServerAddresses& servers) = 0;
    // The explanation before hibernating, modal: whether "do not show again" was ticked; nothing when it could not
    // be shown.
    virtual std::optional<bool> RunHibernateDialog() = 0;
    // Asks whether to download the newer version and opens the page on Yes.
    virtual void OfferNewVersion(const std::string& latest, const std::string& downloadPageUrl) = 0;

    // Input and the clock.
    virtual ScreenPoint CursorPosition() const = 0;
    virtual bool ControlKeyDown() const = 0;
    virtual SystemTime Now() const = 0;
};

}  // namespace nimbo
