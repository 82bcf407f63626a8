// TOptionsForm: the modal "Ayarlar..." dialog with its pages "Genel", "Görünüm" and "Şehirler".
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/dialog_win.h"
#include "base/unique_handle_win.h"
#include "widget/config/favorites.h"
#include "widget/config/options_model.h"
#include "widget/config/place.h"
#include "widget/config/place_search_win.h"
#include "widget/direct_search.h"
#include "widget/server_config.h"
#include "widget/settings_file.h"

namespace nimbo {

class TOptionsForm final : public Dialog {
public:
    // `page` 0 to 2 opens that page; a negative one the page stored in Appearance/LastTabSheet.
    TOptionsForm(SettingsFile& settings, ServerAddresses servers, int page);

    // Shows the dialog modally; confirmed after "&Kaydet" saved everything.
    OptionsOutcome Run(HWND owner);

private:
    // A page of the page control: its commands and colours go to the form.
    class Page final : public Dialog {
    public:
        explicit Page(TOptionsForm& form) : m_form(form) {}

    private:
        bool OnCommand(int id, int notifyCode, HWND control) override;
        bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
        TOptionsForm& m_form;
    };

    bool OnInit() override;
    void OnDestroy() override;
    void OnOK() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    void InitialiseControls();
    void LayOut();
    void ShowPage(int page);
    void LoadOptions();
    OptionValues ControlValues(int glassOpacity) const;
    void SaveOptions(int glassOpacity);
    bool PageCommand(int id, int notifyCode);
    HBRUSH SwatchBrush();

    // Enabling rules.
    void ApplyAppearanceRules();
    void ApplySelectionMode();
    SelectionMode Mode() const;

    // Handlers.
    void OnSwatchClicked();
    void OnCityPicked();
    void OnSearchTextFocus(bool entered);
    void OnSearchClicked();
    void SearchDone(WPARAM searchNumber);
    std::vector<Place> DirectResults(const std::string& reply);
    void RememberPickedResult();
    void AddFavorite(const std::optional<Place>& place);
    void OnRemoveFavoriteClicked();
    void OnRemoveAllFavoritesClicked();

    // Controls of every page by identifier.
    HWND Control(int id) const;
    std::string Text(int id) const;
    void SetText(int id, const std::string& text);
    bool Checked(int id) const;
    void Check(int id, bool on);
    void Enable(int id, bool on);
    int Selection(int id) const;
    void SetSelection(int id, int index);
    void FillList(int id, const std::vector<Place>& places);
    std::optional<Place> Selected(int id, const std::vector<Place>& places) const;
    void ShowMessage(const std::string& text);

    SettingsFile& m_settings;
    ServerAddresses m_servers;
    DirectSearch m_directSearch{m_servers.Geocoding};
    PlaceSearch m_search;
    std::string m_countText;  // what the count said before the running search
    int m_requestedPage;
    std::array<std::unique_ptr<Page>, kOptionsPageCount> m_pages;
    OptionValues m_loaded;
    bool m_locationChanged = false;
    uint8_t m_savedOpacity = 0;
    // Appearance/BackColor as stored: red in the low byte, as a COLORREF.
    uint32_t m_colour = 0;
    std::array<COLORREF, 16> m_customColours{};
    std::vector<Place> m_cityPairs;
    std::vector<Place> m_resultPairs;
    FavoriteList m_favorites;
    UniqueBrush m_swatchBrush;
    UniqueFont m_boldFont;
    // Owned by the dialog's window, which destroys it with itself.
    HWND m_tooltip = nullptr;
    // The dialog's message filter while it runs (page keys, swatch clicks).
    struct HookTraits {
        using Handle = HHOOK;
        static Handle Invalid() { return nullptr; }
        static void Close(Handle hook) { UnhookWindowsHookEx(hook); }
    };
    UniqueHandle<HookTraits> m_messageFilter;
};

}  // namespace nimbo
