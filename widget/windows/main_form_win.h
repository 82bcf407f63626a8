// TNimboMainForm: the widget's floating layered window. It turns window messages into calls on the
// WidgetController and does what the controller asks through WidgetView, owning the face's renderer, the
// downloads, the menus, the tray icon and the information and about windows.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/unique_handle_win.h"
#include "widget/download_slot_win.h"
#include "widget/face/face_renderer_win.h"
#include "widget/settings_file.h"
#include "widget/tray/temperature_icon_win.h"
#include "widget/tray/tray_icon_win.h"
#include "widget/widget_controller.h"
#include "widget/widget_view.h"
#include "widget/windows/about_form_win.h"
#include "widget/windows/info_text_form_win.h"
#include "widget/windows/layered_window_win.h"

namespace nimbo {

class TNimboMainForm final : public LayeredWindow, private WidgetView {
public:
    explicit TNimboMainForm(SettingsFile& settings);

    // Creates the window; the controller starts inside. False when the system refused the window.
    bool Create();

private:
    // Window messages.
    bool OnCreate() override;
    void OnDestroy() override;
    bool OnCommand(WORD id) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnContextMenu(POINT screen) override;
    bool OnMouseDown(MouseButton button, POINT client) override;
    bool OnDoubleClick(POINT client) override;
    void OnMouseMove(POINT client) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    FacePainter* Painter() override { return m_face ? &m_face->Painter() : nullptr; }

    void CreateTrayIcon();
    void ApplyMenuStates();
    // Each favourites submenu is filled when it opens; an item's command is its place in the list.
    void FillFavoritesMenu(HMENU submenu);
    void DownloadEnded(DownloadKind kind, int32_t resultCode);
    FaceButton FaceButtonUnder(POINT client);

    // WidgetView.
    bool StartDownload(DownloadKind kind, const std::string& url) override;
    bool DownloadRunning(DownloadKind kind) const override;
    void StartTimer(WidgetTimer timer, uint32_t intervalMs) override;
    void StopTimer(WidgetTimer timer) override;
    void ComposeFace(const FaceInputs& inputs) override;
    void SetFaceStyle(ViewStyle style, const std::string& temperatureFont, const std::string& placeFont) override;
    void GrowFace(bool animate, const WidgetSettings& settings) override;
    bool ChangeViewStyle(ViewStyle style, const FaceInputs& inputs) override;
    void DrawInfoWindow(const InfoFaceInputs& inputs) override;
    void Show(WidgetWindow window, uint8_t fullAlpha, bool fade) override;
    void Hide(WidgetWindow window, bool fade) override;
    void SetHibernating(WidgetWindow window, bool on, uint8_t fullAlpha, bool fade) override;
    void SetTopMost(WidgetWindow window, bool topMost) override;
    ScreenRect WindowRect(WidgetWindow window) const override;
    void MoveTo(WidgetWindow window, int left, int top) override;
    std::vector<ScreenRect> WorkAreas() const override;
    void BringToFront() override;
    void CaptureMouse(bool on) override;
    ScreenPoint DragThreshold() const override;
    void RequestClose() override;
    void DestroyWidget() override;
    void ShowAboutWindow(uint8_t fullAlpha, bool fade) override;
    void SetTrayIconVisible(bool visible) override;
    void SetTrayHint(const std::string& hint) override;
    void SetTrayIcon(const TrayIconFace& face) override;
    void ShowTrayBalloon(const std::string& text) override;
    OptionsOutcome RunOptionsDialog(int page, const ServerAddresses& servers) override;
    std::optional<bool> RunHibernateDialog() override;
    void OfferNewVersion(const std::string& latest, const std::string& downloadPageUrl) override;
    ScreenPoint CursorPosition() const override;
    bool ControlKeyDown() const override;
    SystemTime Now() const override;

    SettingsFile& m_settings;
    WidgetController m_controller;
    // The face: its pictures, placeholders and surface; made first when the window exists.
    std::unique_ptr<MainFace> m_face;
    // One outstanding request of each kind, by DownloadKind.
    std::array<std::unique_ptr<DownloadSlot>, 3> m_downloads;
    UniqueMenu m_widgetMenu;
    // Declared before the tray icon, which must not outlive its menu.
    std::unique_ptr<TrayPopupMenuWin> m_trayMenu;
    std::unique_ptr<TrayIconWin> m_tray;
    TrayIconPicture m_trayPicture;
    // Owned windows: the system destroys them before the form's own destruction handler runs.
    TInfoTextForm m_infoForm;
    TAboutForm m_aboutForm;
};

}  // namespace nimbo
