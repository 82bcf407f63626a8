// The main form's start-up, shutdown and window messages.
#include "widget/main_form_win.h"

#include <algorithm>

#include "base/wide_text_win.h"
#include "widget/face/layered_present_win.h"
#include "widget/face/placeholder_face.h"
#include "widget/messages.h"
#include "widget/settings_keys.h"
#include "widget/start_up.h"

namespace nimbo {

namespace {

constexpr UINT kLoadedDelayMs = 250;
constexpr UINT kVersionDelayMs = 3000;
constexpr int kFadeStep = 18;
constexpr DWORD kFadeSleepMs = 2;

}  // namespace

TNimboMainForm::TNimboMainForm(SettingsFile& settings) : Window(kApplicationTitle), m_settings(settings) {}

bool TNimboMainForm::Create() {
    // A tool window: the widget never shows a task-bar button.
    return Window::Create(Widen(kMainFormClassName).c_str(), WS_EX_LAYERED | WS_EX_TOOLWINDOW, WS_POPUP,
                          settings::kLeft.widgetDefault, settings::kTop.widgetDefault, kWidth, kHeight);
}

LRESULT TNimboMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_DESTROY:
            FormDestroy();
            return 0;
        case WM_CLOSE:
            CloseWidget();
            return 0;
        case WM_TIMER:
            switch (wParam) {
                case CheckTimer:
                    CheckTimerTimer();
                    return 0;
                case LoadedTimer:
                    LoadedTimerTimer();
                    return 0;
                case VersionTimer:
                    VersionTimerTimer();
                    return 0;
            }
            break;
        case WM_ACTIVATEAPP:
            if (!wParam) ApplicationDeactivate();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            EndSession();
            break;
        case WM_WIDGET_SHOW:
            WidgetShowRequest();
            return 0;
        case WM_WIDGET_CLOSE:
            CloseWidget();
            return 0;
    }
    return Default(message, wParam, lParam);
}

void TNimboMainForm::FormCreate() {
    // 1. The drawing surface is the member m_faceSurface, made with the form.
    // 2. The Turkish calendar names are filled here once the value formatting lands.
    // 3. The face starts in view style 0; the stored style is applied in step 12.
    m_viewStyle = 0;
    // 4.-5. Application hints and the tray icon join here with the face and the tray component.
    // 6. The version check runs once, 3 s after start.
    if (Read(m_settings, settings::kCheckNewVersion)) SetTimer(Handle(), VersionTimer, kVersionDelayMs, nullptr);
    // 7. No forecast day is known yet.
    for (auto& day : m_weather.Forecast) day.Day.clear();
    // 8. Deactivation is handled by WM_ACTIVATEAPP. 9. The layered style:
    const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    // 10. The face's fixed pictures are loaded here once the picture set is drawn by the face.
    // 11.
    LoadWidgetSettings();
    // 12. The stored view style, 13. the unit letter of the feed address.
    m_viewStyle = m_widgetSettings.viewStyle;
    m_weather.Unit = "c";
    // 14. With fading on, the form appears invisible and LoadedTimer fades it in.
    m_faceAlpha = m_widgetSettings.fadeEffect ? kHiddenAlpha : kFullAlpha;
    // 15.
    ComposeFace();
    // 16.-17. The first weather download and the address lookup start here with the downloads.
    // 18.
    if (m_widgetSettings.autoUpdate) SetTimer(Handle(), CheckTimer, m_widgetSettings.updatePeriodMs, nullptr);
    // 19.
    SetTimer(Handle(), LoadedTimer, kLoadedDelayMs, nullptr);
    // 20. The information and about windows are created here when they exist.
}

void TNimboMainForm::FormDestroy() {
    KillTimer(Handle(), CheckTimer);
    KillTimer(Handle(), LoadedTimer);
    KillTimer(Handle(), VersionTimer);
    try {
        SaveWidgetSettings();
    } catch (const std::exception& error) {
        ShowErrorBox(nullptr, kApplicationTitle, error.what());
    }
    PostQuitMessage(0);
}

void TNimboMainForm::LoadWidgetSettings() {
    const LoadedWidgetSettings loaded = ReadWidgetSettings(m_settings);
    m_widgetSettings = loaded.settings;
    SetWindowPos(Handle(), nullptr, loaded.left, loaded.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_weather.City = loaded.cityName;
    m_weather.CityID = loaded.cityId;
    SetTopMost(m_widgetSettings.alwaysTop);
    m_hibernating = m_widgetSettings.hibernate;
}

void TNimboMainForm::SaveWidgetSettings() {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    SavedWidgetState state;
    state.viewStyle = m_viewStyle;
    state.left = rect.left;
    state.top = rect.top;
    state.cityName = m_weather.City;
    state.cityId = m_weather.CityID;
    state.infoTextLeft = m_infoTextLeft;
    state.infoTextTop = m_infoTextTop;
    state.showInfoText = m_widgetSettings.showInfoText;
    state.hibernate = m_hibernating;
    nimbo::SaveWidgetSettings(m_settings, state, m_widgetSettings);
}

void TNimboMainForm::CheckTimerTimer() {
    // The refresh of the weather runs here once the downloads land.
}

void TNimboMainForm::LoadedTimerTimer() {
    KillTimer(Handle(), LoadedTimer);
    ShowWidget();
}

void TNimboMainForm::VersionTimerTimer() { KillTimer(Handle(), VersionTimer); }

void TNimboMainForm::ShowWidget() {
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    if (m_widgetSettings.fadeEffect) {
        FadeIn();
    } else {
        m_faceAlpha = m_fullAlpha;
        ComposeFace();
    }
}

void TNimboMainForm::HideWidget() {
    if (m_widgetSettings.fadeEffect) FadeOut();
    ShowWindow(Handle(), SW_HIDE);
}

void TNimboMainForm::CloseWidget() {
    HideWidget();
    DestroyWindow(Handle());
}

void TNimboMainForm::WidgetShowRequest() {
    if (!IsWindowVisible(Handle()) || m_faceAlpha == kHiddenAlpha) ShowWidget();
    SetForegroundWindow(Handle());
}

void TNimboMainForm::EndSession() {
    HideWidget();
    SaveWidgetSettings();
}

void TNimboMainForm::ApplicationDeactivate() {
    m_faceActive = false;
    ComposeFace();
}

void TNimboMainForm::ComposeFace() {
    DrawPlaceholderFace(m_faceSurface);
    PresentLayered(Handle(), m_faceSurface, m_faceAlpha);
}

void TNimboMainForm::FadeIn() {
    while (m_faceAlpha < m_fullAlpha) {
        m_faceAlpha = static_cast<BYTE>(std::min<int>(m_faceAlpha + kFadeStep, m_fullAlpha));
        ComposeFace();
        Sleep(kFadeSleepMs);
    }
}

void TNimboMainForm::FadeOut() {
    while (m_faceAlpha > kHiddenAlpha) {
        m_faceAlpha = static_cast<BYTE>(std::max<int>(m_faceAlpha - kFadeStep, kHiddenAlpha));
        ComposeFace();
        Sleep(kFadeSleepMs);
    }
}

void TNimboMainForm::SetTopMost(bool topMost) {
    SetWindowPos(Handle(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace nimbo
