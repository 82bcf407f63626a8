// TNimboMainForm: the widget's floating layered window and its controller: start-up, refresh cycle, actions,
// menus, tray icon, dragging and shutdown.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/unique_handle_win.h"
#include "widget/controller.h"
#include "widget/direct_feed.h"
#include "widget/download_slot_win.h"
#include "widget/face/face_renderer_win.h"
#include "widget/face/turkish_calendar.h"
#include "widget/server_config.h"
#include "widget/settings_file.h"
#include "widget/tray/tray_icon_win.h"
#include "widget/weather_data.h"
#include "widget/weather_source.h"
#include "widget/widget_settings.h"
#include "widget/windows/about_form_win.h"
#include "widget/windows/info_text_form_win.h"
#include "widget/windows/layered_window_win.h"

namespace nimbo {

class TNimboMainForm final : public LayeredWindow, private RefreshHost, private InfoTextHost {
public:
    static constexpr int kWidth = 233;
    static constexpr int kHeight = 248;

    explicit TNimboMainForm(SettingsFile& settings);

    // Creates the window; FormCreate runs inside. False when the system refused the window.
    bool Create();

private:
    // WM_TIMER identifiers; a test may deliver a tick by posting WM_TIMER with one of them.
    enum TimerId : UINT_PTR { CheckTimer = 1, LoadedTimer = 2, VersionTimer = 3, MouseTimer = 4 };

    bool OnCreate() override;
    void OnDestroy() override;
    bool OnCommand(WORD id) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnContextMenu(POINT screen) override;
    bool OnMouseDown(MouseButton button, POINT client) override;
    bool OnDoubleClick(POINT client) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    FacePainter* Painter() override { return m_face ? &m_face->Painter() : nullptr; }

    void FormCreate();
    void FormDestroy();
    void LoadWidgetSettings();
    void SaveWidgetSettings();
    void OnStartupDelayElapsed();
    void StartVersionCheck();
    void StartAddressLookup();
    void WeatherDone(int32_t resultCode);
    void AddressDone(int32_t resultCode);
    void VersionDone(int32_t resultCode);

    // Actions.
    void ExecuteAction(ActionId action);
    void HibernateActionExecute();
    void OnHibernationWakeTick();
    // Favourites: each submenu is filled when it opens; an item's command is its line's place in the list.
    void FillFavoritesMenu(HMENU submenu);
    void PickFavorite(size_t index);
    void ApplyActionStates();
    bool TrayIconShown();
    void OpenOptions(int page);
    void SetShowInfo(bool on);
    void SetViewStyle(uint8_t style);
    void ShowActionExecute();
    void HideActionExecute();
    void FetchIPActionExecute();

    // Window.
    void ShowWidget();
    void HideWidget();
    void CloseWidget();
    void WidgetShowRequest();
    void EndSession();
    void ApplicationDeactivate();
    bool PressFaceButton(POINT point);
    FaceInputs CurrentFaceInputs();
    void ComposeFace() override;

    // The refresh cycle's view of the form.
    bool WeatherDownloadRunning() const override;
    bool StartWeatherThread(const std::string& feedPath) override;
    void SetCheckTimerEnabled(bool enabled) override;
    void GrowToViewStyle(bool animate) override;
    void ParseWeatherFeed(WeatherData& weather) override;
    SystemTime Today() const override;
    const TurkishCalendarNames& CalendarNames() const override { return m_calendarNames; }
    void RebuildInfoText() override;
    bool WidgetVisible() const override;
    void ShowInfoWindow() override;
    void SetTrayHint(const std::string& hint) override;

    // The information window's view of the form.
    InfoFaceInputs InfoInputs() override;
    BYTE FullAlpha() const override { return m_fullAlpha; }
    void InfoCloseClicked() override { SetShowInfo(false); }
    void HideInfoWindow();
    // InfoOffset: where the information window stands from the widget, taken at each mouse press.
    void TakeInfoOffset();
    void FollowWithInfoWindow();

    WeatherData& Weather() { return m_refresh.Weather(); }

    SettingsFile& m_settings;
    WidgetSettings m_widgetSettings;
    RefreshCycle m_refresh{*this, m_widgetSettings};
    ServerAddresses m_servers;
    TurkishCalendarNames m_calendarNames;
    // The face: its pictures, placeholders and surface; made first in FormCreate.
    std::unique_ptr<MainFace> m_face;
    BYTE m_fullAlpha = kFullAlpha;
    bool m_faceActive = false;
    bool m_hibernating = false;
    bool m_hibernateDialogOpen = false;
    bool m_loaded = false;  // LoadedTimer has fired
    bool m_checkTimerEnabled = false;
    uint8_t m_viewStyle = 0;
    // The information window's stored position, until that window exists to report its own.
    int32_t m_infoTextLeft = 331;
    int32_t m_infoTextTop = 331;
    POINT m_infoOffset{};
    // FavoriteMenuList: the lines of the menu opened last.
    std::vector<std::string> m_favoriteMenuList;
    // One outstanding request of each kind; made in FormCreate, when the window exists.
    std::unique_ptr<DownloadSlot> m_weatherSlot;
    // The refresh's downloads: one, or in direct mode a look-up and the forecast.
    std::unique_ptr<WeatherFetch> m_weatherFetch;
    FeedConversion m_feedConversion = DirectFeedConversion();
    std::unique_ptr<DownloadSlot> m_addressSlot;
    std::unique_ptr<DownloadSlot> m_versionSlot;
    UniqueMenu m_shortPopup;
    // Declared before the tray icon, which must not outlive its menu.
    std::unique_ptr<TrayPopupMenuWin> m_trayPopup;
    std::unique_ptr<TrayIconWin> m_tray;
    // Owned windows: the system destroys them before the form's own destruction handler runs.
    std::unique_ptr<TInfoTextForm> m_infoForm;
    std::unique_ptr<TAboutForm> m_aboutForm;
};

}  // namespace nimbo
