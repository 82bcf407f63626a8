// TNimboMainForm: the widget's floating layered window, its start-up, timers and shutdown.
#pragma once

#include <windows.h>

#include "base/window_win.h"
#include "widget/face/argb_surface.h"
#include "widget/settings_file.h"
#include "widget/weather_data.h"
#include "widget/widget_settings.h"

namespace nimbo {

class TNimboMainForm final : public Window {
public:
    static constexpr int kWidth = 233;
    static constexpr int kHeight = 248;
    static constexpr BYTE kFullAlpha = 255;
    static constexpr BYTE kHiddenAlpha = 0;

    explicit TNimboMainForm(SettingsFile& settings);

    // Creates the window; FormCreate runs inside. False when the system refused the window.
    bool Create();

private:
    enum TimerId : UINT_PTR { CheckTimer = 1, LoadedTimer = 2, VersionTimer = 3 };

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void FormCreate();
    void FormDestroy();
    void LoadWidgetSettings();
    void SaveWidgetSettings();
    void CheckTimerTimer();
    void LoadedTimerTimer();
    void VersionTimerTimer();
    void ShowWidget();
    void HideWidget();
    void CloseWidget();
    void WidgetShowRequest();
    void EndSession();
    void ApplicationDeactivate();
    void ComposeFace();
    void FadeIn();
    void FadeOut();
    void SetTopMost(bool topMost);

    SettingsFile& m_settings;
    WidgetSettings m_widgetSettings;
    WeatherData m_weather;
    ArgbSurface m_faceSurface{kWidth, kHeight};
    BYTE m_faceAlpha = kFullAlpha;
    BYTE m_fullAlpha = kFullAlpha;
    bool m_faceActive = false;
    bool m_hibernating = false;
    uint8_t m_viewStyle = 0;
    // The information window's position, kept from the settings until that window exists to report its own.
    int32_t m_infoTextLeft = 331;
    int32_t m_infoTextTop = 331;
};

}  // namespace nimbo
