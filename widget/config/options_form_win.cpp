// The options dialog: moves values between its controls and the portable options model.
#include "widget/config/options_form_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <stdexcept>

#include "base/system_library_win.h"
#include "base/wide_text_win.h"
#include "resources/options_ids.h"
#include "widget/config/location_search.h"
#include "widget/config/shortcut_plan.h"
#include "widget/config/shortcuts_win.h"
#include "widget/face/display_scale.h"
#include "widget/internet_thread_win.h"
#include "widget/settings_keys.h"
#include "widget/windows/window_dpi_win.h"

namespace nimbo {
namespace {

constexpr int kPageTemplates[kOptionsPageCount] = {IDD_OPTIONS_GENERAL, IDD_OPTIONS_APPEARANCE, IDD_OPTIONS_PLACES};
constexpr const char* kPageCaptions[kOptionsPageCount] = {"Genel", "Görünüm", "Şehirler"};
constexpr int kClientWidth = 448;
constexpr int kClientHeight = 481;
constexpr char kSearchUserAgent[] = "Velmor XML Search";
// Shorter than a feed's: the user waits for the answer.
constexpr DownloadTimeouts kSearchTimeouts{15000, 30000, 30000};
constexpr UINT kSearchDoneMessage = WM_APP + 1;
constexpr char kSearchingText[] = "Aranıyor...";

constexpr const char* kUpdatePeriods[] = {"5 dk.", "10 dk.", "15 dk.", "30 dk.", "1 saat", "2 saat"};
constexpr const char* kBackgrounds[] = {"(yok)", "Çok ince cam", "Kalın cam", "Sütlü Kahve", "Renk belirle..."};

// The information lines' check boxes with their fields, their master switch ("&Bilgi ekranında şunları göster") apart.
struct CheckField {
    int id;
    bool OptionValues::*field;
};
constexpr CheckField kInfoLines[] = {
    {IDC_SHOW_CONDITION, &OptionValues::showWeatherText},
    {IDC_SHOW_IP, &OptionValues::showIP},
    {IDC_SHOW_SUN, &OptionValues::showSunInfo},
    {IDC_SHOW_POSITION, &OptionValues::showSituation},
    {IDC_SHOW_DATE, &OptionValues::showDate},
    {IDC_SHOW_HIJRI, &OptionValues::showHijri},
    {IDC_SHOW_WIND, &OptionValues::showWind},
    {IDC_SHOW_VISIBILITY, &OptionValues::showVisibility},
    {IDC_SHOW_HUMIDITY, &OptionValues::showHumidity},
    {IDC_SHOW_FELT_TEMPERATURE, &OptionValues::showChill},
};

// The other check boxes and their fields.
constexpr CheckField kSwitches[] = {
    {IDC_STARTUP_SHORTCUT, &OptionValues::startup},
    {IDC_DESKTOP_SHORTCUT, &OptionValues::desktop},
    {IDC_QUICK_LAUNCH_SHORTCUT, &OptionValues::quickLaunch},
    {IDC_AUTO_UPDATE, &OptionValues::autoUpdate},
    {IDC_SHOW_TRAY_ICON, &OptionValues::showTrayIcon},
    {IDC_TRAY_TEMPERATURE, &OptionValues::trayTemperature},
    {IDC_ALWAYS_TOP, &OptionValues::alwaysTop},
    {IDC_CHECK_NEW_VERSION, &OptionValues::checkNewVersion},
    {IDC_FADE_EFFECT, &OptionValues::fadeEffect},
    {IDC_GLASS_EFFECT, &OptionValues::glassEffect},
    {IDC_SHOW_INFO_WINDOW, &OptionValues::showInfoText},
};

// The options dialog's own handling inside its modal loop: Ctrl+Tab and Ctrl+Shift+Tab choose the next or
// previous page as a click on its tab would, and every mouse button on the colour swatch opens the colour dialog
// (a static tells its dialog of the left button only).
LRESULT CALLBACK OptionsMessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code != MSGF_DIALOGBOX) return CallNextHookEx(nullptr, code, wParam, lParam);
    if ((message->message == WM_RBUTTONDOWN || message->message == WM_MBUTTONDOWN) &&
        GetDlgCtrlID(message->hwnd) == IDC_COLOUR_SWATCH) {
        PostMessageW(GetParent(message->hwnd), WM_COMMAND, MAKEWPARAM(IDC_COLOUR_SWATCH, STN_CLICKED),
                     reinterpret_cast<LPARAM>(message->hwnd));
        return TRUE;
    }
    if (message->message == WM_KEYDOWN && message->wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        const HWND tabs = GetDlgItem(GetAncestor(message->hwnd, GA_ROOT), IDC_PAGES);
        wchar_t className[32] = {};
        if (tabs) GetClassNameW(tabs, className, 32);
        if (lstrcmpiW(className, WC_TABCONTROLW) == 0) {
            const auto current = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
            const int step = GetKeyState(VK_SHIFT) < 0 ? kOptionsPageCount - 1 : 1;
            SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>((current + step) % kOptionsPageCount), 0);
            return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool TOptionsForm::Page::OnCommand(int id, int notifyCode, HWND) { return m_form.PageCommand(id, notifyCode); }

bool TOptionsForm::Page::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_SETCURSOR) {
        // The swatch opens the colour dialog when clicked: the hand says so, as over a link.
        const auto over = reinterpret_cast<HWND>(wParam);
        if (LOWORD(lParam) != HTCLIENT || GetDlgCtrlID(over) != IDC_COLOUR_SWATCH || !IsWindowEnabled(over)) {
            return false;
        }
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    }
    if (message != WM_CTLCOLORSTATIC || GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_COLOUR_SWATCH) return false;
    result = reinterpret_cast<INT_PTR>(m_form.SwatchBrush());
    return true;
}

TOptionsForm::TOptionsForm(SettingsFile& settings, ServerAddresses servers, int page)
    : Dialog("Nimbo!"),
      m_settings(settings),
      m_servers(std::move(servers)),
      m_search(kSearchDoneMessage),
      m_requestedPage(page) {}

OptionsOutcome TOptionsForm::Run(HWND owner) {
    const INT_PTR result = RunModal(IDD_OPTIONS, owner);
    if (result == -1) throw std::runtime_error("Ayarlar penceresi açılamadı");
    return {result == IDOK, m_locationChanged};
}

bool TOptionsForm::OnInit() {
    const HWND tabs = Item(IDC_PAGES);
    for (int i = 0; i < kOptionsPageCount; ++i) {
        std::wstring caption = Widen(kPageCaptions[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        m_pages[static_cast<size_t>(i)] = std::make_unique<Page>(*this);
        m_pages[static_cast<size_t>(i)]->CreateModeless(kPageTemplates[i], Handle());
    }
    LayOut();
    for (const char* period : kUpdatePeriods) {
        SendMessageW(Control(IDC_UPDATE_PERIOD), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(period).c_str()));
    }
    for (const char* background : kBackgrounds) {
        SendMessageW(Control(IDC_BACKGROUND), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(background).c_str()));
    }
    SendMessageW(Control(IDC_OPACITY_SPIN), UDM_SETRANGE32, kOpacityMin, kOpacityMax);
    // Without a web server (direct mode) there is no version to ask for.
    Enable(IDC_CHECK_NEW_VERSION, VersionCheckPossible(m_servers));
    // The number of places found is bold.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    m_boldFont.Reset(CreateFontIndirectW(&font));
    SendMessageW(Control(IDC_RESULT_COUNT), WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.Get()), FALSE);
    m_tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    std::wstring hint = Widen("Favorilerime ekle...");
    for (const int id : {IDC_ADD_CITY_TO_FAVORITES, IDC_ADD_RESULT_TO_FAVORITES}) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = GetParent(Control(id));
        tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
        tool.lpszText = hint.data();
        SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    InitialiseControls();
    ShowPage(InitialOptionsPage(m_requestedPage, m_loaded.lastTabSheet));
    m_messageFilter.Reset(SetWindowsHookExW(WH_MSGFILTER, &OptionsMessageFilter, nullptr, GetCurrentThreadId()));
    return true;
}

void TOptionsForm::OnDestroy() { m_messageFilter.Reset(); }

// The client area is 448 x 481 pixels at 96 DPI, scaled with the display, whatever the font's dialog units; the
// page control fills it above the buttons, and the pages fill the page control's display area.
void TOptionsForm::LayOut() {
    const DisplayScale scale(WindowDpi(Handle()));
    const int clientWidth = scale.Pixels(kClientWidth);
    const int clientHeight = scale.Pixels(kClientHeight);
    const auto style = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE));
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(Handle(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    RECT button{};
    GetWindowRect(Item(IDOK), &button);
    const int buttonWidth = button.right - button.left;
    const int buttonHeight = button.bottom - button.top;
    const int margin = scale.Pixels(8);
    const int gap = scale.Pixels(6);
    const int buttonTop = clientHeight - margin - buttonHeight;
    SetWindowPos(Item(IDOK), nullptr, clientWidth - margin - 2 * buttonWidth - gap, buttonTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(Item(IDCANCEL), nullptr, clientWidth - margin - buttonWidth, buttonTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    RECT tabs{margin, margin, clientWidth - margin, buttonTop - gap};
    SetWindowPos(Item(IDC_PAGES), nullptr, tabs.left, tabs.top, tabs.right - tabs.left, tabs.bottom - tabs.top,
                 SWP_NOZORDER);
    SendMessageW(Item(IDC_PAGES), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&tabs));
    const int pageWidth = tabs.right - tabs.left;
    for (const auto& page : m_pages) {
        SetWindowPos(page->Handle(), HWND_TOP, tabs.left, tabs.top, pageWidth, tabs.bottom - tabs.top, SWP_NOACTIVATE);
        // The groups reach across the page, with the same margin on both sides, whatever the font's width.
        for (const int id : {IDC_GROUP_PROGRAM, IDC_GROUP_BACKGROUND, IDC_GROUP_INFO, IDC_GROUP_PLACE}) {
            const HWND group = GetDlgItem(page->Handle(), id);
            if (!group) continue;
            RECT box{};
            GetWindowRect(group, &box);
            MapWindowPoints(nullptr, page->Handle(), reinterpret_cast<POINT*>(&box), 2);
            SetWindowPos(group, nullptr, 0, 0, pageWidth - 2 * box.left, box.bottom - box.top,
                         SWP_NOMOVE | SWP_NOZORDER);
        }
    }
}

void TOptionsForm::ShowPage(int page) {
    SendMessageW(Item(IDC_PAGES), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (int i = 0; i < kOptionsPageCount; ++i) {
        ShowWindow(m_pages[static_cast<size_t>(i)]->Handle(), i == page ? SW_SHOW : SW_HIDE);
    }
}

void TOptionsForm::InitialiseControls() {
    Check(IDC_MODE_CITIES, true);
    ApplySelectionMode();
    LoadOptions();
}

void TOptionsForm::LoadOptions() {
    m_cityPairs.clear();
    for (const auto& [name, id] : m_settings.ReadSectionValues(settings::kCitiesSection)) {
        m_cityPairs.push_back({name, id});
    }
    FillList(IDC_CITIES, m_cityPairs);
    m_favorites.Load(m_settings.ReadSectionValues(settings::kFavoritesSection));
    FillList(IDC_FAVORITES, m_favorites.Places());
    m_loaded = LoadOptionValues(m_settings);
    SetSelection(IDC_BACKGROUND, m_loaded.background);
    for (const auto& entry : kSwitches) Check(entry.id, m_loaded.*entry.field);
    SetSelection(IDC_UPDATE_PERIOD, m_loaded.updatePeriod);
    SetSelection(IDC_CITIES, -1);
    m_colour = m_loaded.backColor;
    SendMessageW(Control(IDC_OPACITY_SPIN), UDM_SETPOS32, 0, m_loaded.glassOpacity);
    SetText(IDC_OPACITY, std::to_string(m_loaded.glassOpacity));
    m_savedOpacity = static_cast<uint8_t>(m_loaded.glassOpacity);
    for (const auto& line : kInfoLines) Check(line.id, m_loaded.*line.field);
    ApplyAppearanceRules();
    ApplySelectionMode();
}

OptionValues TOptionsForm::ControlValues(int glassOpacity) const {
    OptionValues values = m_loaded;
    for (const auto& entry : kSwitches) values.*entry.field = Checked(entry.id);
    for (const auto& line : kInfoLines) values.*line.field = Checked(line.id);
    values.updatePeriod = Selection(IDC_UPDATE_PERIOD);
    values.background = Selection(IDC_BACKGROUND);
    values.backColor = m_colour;
    values.glassOpacity = glassOpacity;
    values.lastTabSheet = static_cast<int>(SendMessageW(Item(IDC_PAGES), TCM_GETCURSEL, 0, 0));
    return values;
}

std::vector<std::string> TOptionsForm::SaveOptions(int glassOpacity) {
    RememberPickedResult();
    const std::optional<Place> place =
        PickedPlace(m_locationChanged, Mode(), Selected(IDC_CITIES, m_cityPairs), Selected(IDC_RESULTS, m_resultPairs),
                    Selected(IDC_FAVORITES, m_favorites.Places()));
    SaveOptionValues(m_settings, ControlValues(glassOpacity), place, m_favorites);
    return UpdateShortcuts(Handle(), Checked(IDC_DESKTOP_SHORTCUT), Checked(IDC_STARTUP_SHORTCUT),
                           Checked(IDC_QUICK_LAUNCH_SHORTCUT));
}

// FormCloseQuery for "&Kaydet": an opacity outside 0-255 keeps the dialog open with the previous value selected.
void TOptionsForm::OnOK() {
    const std::optional<int> opacity = ParseOpacity(Text(IDC_OPACITY));
    if (!opacity) {
        ShowMessage(OpacityMessage());
        SetText(IDC_OPACITY, std::to_string(m_savedOpacity));
        SendMessageW(Control(IDC_OPACITY), EM_SETSEL, 0, -1);
        return;
    }
    const std::vector<std::string> notMade = SaveOptions(*opacity);
    m_settings.UpdateFile();
    // The settings stay saved; the dialog stays open so the user learns of it and may try again or cancel.
    if (!notMade.empty()) {
        ShowMessage(ShortcutsNotMadeMessage(notMade));
        return;
    }
    End(IDOK);
}

bool TOptionsForm::OnCommand(int id, int notifyCode, HWND) {
    // Enter while the search box has the focus presses "&Araştır", which lives on a page.
    return id == IDC_SEARCH && PageCommand(id, notifyCode);
}

bool TOptionsForm::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_PAGES || header.code != TCN_SELCHANGE) return false;
    ShowPage(static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
    result = 0;
    return true;
}

bool TOptionsForm::PageCommand(int id, int notifyCode) {
    const bool clicked = notifyCode == BN_CLICKED;
    switch (id) {
        case IDC_AUTO_UPDATE:
        case IDC_SHOW_TRAY_ICON:
        case IDC_GLASS_EFFECT:
        case IDC_SHOW_INFO_WINDOW:
            if (clicked) ApplyAppearanceRules();
            return clicked;
        case IDC_BACKGROUND:
            if (notifyCode == CBN_SELCHANGE) ApplyAppearanceRules();
            return true;
        case IDC_COLOUR_SWATCH:
            if (notifyCode == STN_CLICKED || notifyCode == STN_DBLCLK) OnSwatchClicked();
            return true;
        case IDC_MODE_CITIES:
        case IDC_MODE_SEARCH:
        case IDC_MODE_FAVORITES:
            if (!clicked) return false;
            for (const int radio : {IDC_MODE_CITIES, IDC_MODE_SEARCH, IDC_MODE_FAVORITES}) Check(radio, radio == id);
            ApplySelectionMode();
            if (id == IDC_MODE_CITIES)
                SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDC_CITIES)), TRUE);
            if (id == IDC_MODE_SEARCH)
                SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDC_SEARCH_TEXT)), TRUE);
            return true;
        case IDC_CITIES:
            if (notifyCode == CBN_SELCHANGE) OnCityPicked();
            return true;
        case IDC_SEARCH_TEXT:
            if (notifyCode == EN_CHANGE) ApplySelectionMode();
            if (notifyCode == EN_SETFOCUS || notifyCode == EN_KILLFOCUS) OnSearchTextFocus(notifyCode == EN_SETFOCUS);
            return true;
        case IDC_RESULTS:
        case IDC_FAVORITES:
            if (notifyCode == LBN_SELCHANGE) {
                m_locationChanged = true;
                ApplySelectionMode();
            }
            return true;
        case IDC_SEARCH:
            if (clicked) OnSearchClicked();
            return clicked;
        case IDC_ADD_CITY_TO_FAVORITES:
            if (clicked) AddFavorite(Selected(IDC_CITIES, m_cityPairs));
            return clicked;
        case IDC_ADD_RESULT_TO_FAVORITES:
            if (clicked) {
                RememberPickedResult();
                AddFavorite(Selected(IDC_RESULTS, m_resultPairs));
            }
            return clicked;
        case IDC_REMOVE_FAVORITE:
            if (clicked) OnRemoveFavoriteClicked();
            return clicked;
        case IDC_REMOVE_ALL_FAVORITES:
            if (clicked) OnRemoveAllFavoritesClicked();
            return clicked;
    }
    return false;
}

// The swatch is painted in the chosen colour (the low three bytes: red, green, blue).
HBRUSH TOptionsForm::SwatchBrush() {
    if (!m_swatchBrush) m_swatchBrush.Reset(CreateSolidBrush(m_colour & 0xFFFFFF));
    return m_swatchBrush.Get();
}

void TOptionsForm::ApplyAppearanceRules() {
    const AppearanceEnabling rules =
        ApplyEnablingRules(Checked(IDC_AUTO_UPDATE), Selection(IDC_BACKGROUND), Checked(IDC_GLASS_EFFECT),
                           Checked(IDC_SHOW_INFO_WINDOW), Checked(IDC_SHOW_TRAY_ICON));
    Enable(IDC_TRAY_TEMPERATURE, rules.trayTemperature);
    for (const int id : {IDC_UPDATE_PERIOD_LABEL, IDC_UPDATE_PERIOD}) Enable(id, rules.period);
    for (const int id : {IDC_COLOUR_LABEL, IDC_COLOUR_FRAME, IDC_COLOUR_SWATCH, IDC_GLASS_EFFECT})
        Enable(id, rules.colourPanel);
    for (const int id : {IDC_OPACITY_LABEL, IDC_OPACITY, IDC_OPACITY_SPIN, IDC_OPACITY_RANGE})
        Enable(id, rules.opacity);
    for (const auto& line : kInfoLines) Enable(line.id, rules.infoLines);
}

SelectionMode TOptionsForm::Mode() const {
    if (Checked(IDC_MODE_SEARCH)) return SelectionMode::Search;
    if (Checked(IDC_MODE_FAVORITES)) return SelectionMode::Favorites;
    return SelectionMode::Turkey;
}

void TOptionsForm::ApplySelectionMode() {
    const PlaceEnabling rules =
        nimbo::ApplySelectionMode(Mode(), Selection(IDC_CITIES) >= 0, !Text(IDC_SEARCH_TEXT).empty(),
                                  Selection(IDC_RESULTS) >= 0, Selection(IDC_FAVORITES) >= 0);
    for (const int id : {IDC_CITIES_LABEL, IDC_CITIES}) Enable(id, rules.cityList);
    Enable(IDC_ADD_CITY_TO_FAVORITES, rules.addCity);
    for (const int id : {IDC_SEARCH_LABEL, IDC_SEARCH_TEXT, IDC_RESULTS_LABEL, IDC_RESULT_COUNT, IDC_RESULTS}) {
        Enable(id, rules.search);
    }
    Enable(IDC_ADD_RESULT_TO_FAVORITES, rules.addResult);
    Enable(IDC_SEARCH, rules.searchButton);
    Enable(IDC_FAVORITES, rules.favorites);
    for (const int id : {IDC_REMOVE_FAVORITE, IDC_REMOVE_ALL_FAVORITES}) Enable(id, rules.removeButtons);
}

void TOptionsForm::OnSwatchClicked() {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.rgbResult = m_colour & 0xFFFFFF;
    dialog.lpCustColors = m_customColours.data();
    dialog.Flags = CC_RGBINIT;
    // Loaded for this dialog only: the common dialogs bring the print spooler's libraries with them.
    const SystemLibrary commonDialogs(L"comdlg32.dll");
    const auto chooseColor = commonDialogs.Find<decltype(ChooseColorW)>("ChooseColorW");
    if (!chooseColor || !chooseColor(&dialog)) return;
    m_colour = dialog.rgbResult;
    m_swatchBrush.Reset();
    InvalidateRect(Control(IDC_COLOUR_SWATCH), nullptr, TRUE);
}

void TOptionsForm::OnCityPicked() {
    m_locationChanged = true;
    ApplySelectionMode();
}

// While the search box has the focus, Enter searches instead of saving.
void TOptionsForm::OnSearchTextFocus(bool entered) {
    const int defaultId = entered ? IDC_SEARCH : IDOK;
    SendMessageW(Handle(), DM_SETDEFID, static_cast<WPARAM>(defaultId), 0);
    SendMessageW(Control(IDC_SEARCH), BM_SETSTYLE, entered ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    SendMessageW(Item(IDOK), BM_SETSTYLE, entered ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON, TRUE);
}

// The search runs on a thread of its own: meanwhile the dialog answers, can be closed, and a new search replaces
// this one, whose late answer is then dropped.
void TOptionsForm::OnSearchClicked() {
    if (!IsWindowEnabled(Control(IDC_SEARCH))) return;
    SendMessageW(Control(IDC_RESULTS), LB_RESETCONTENT, 0, 0);
    m_resultPairs.clear();
    if (!m_search.Running()) m_countText = Text(IDC_RESULT_COUNT);
    const std::string url = m_servers.Direct ? m_directSearch.Url(Text(IDC_SEARCH_TEXT))
                                             : SearchUrl(m_servers.Search, Text(IDC_SEARCH_TEXT));
    SetText(IDC_RESULT_COUNT,
            m_search.Start(Handle(), url, kSearchTimeouts, kSearchUserAgent) ? kSearchingText : m_countText);
    ApplySelectionMode();
}

void TOptionsForm::SearchDone(WPARAM searchNumber) {
    const std::optional<PlaceSearch::Answer> answer = m_search.Finish(searchNumber);
    if (!answer) return;
    // A failed request leaves the list empty and the count as it was.
    if (answer->resultCode != 0) {
        SetText(IDC_RESULT_COUNT, m_countText);
        return;
    }
    m_resultPairs = m_servers.Direct ? DirectResults(answer->bytes) : ParseSearchReply(answer->bytes);
    SetText(IDC_RESULT_COUNT, SearchCountText(m_resultPairs.size()));
    FillList(IDC_RESULTS, m_resultPairs);
    ApplySelectionMode();
}

bool TOptionsForm::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (message != kSearchDoneMessage) return false;
    SearchDone(wParam);
    result = 0;
    return true;
}

std::vector<Place> TOptionsForm::DirectResults(const std::string& reply) {
    m_directSearch.ReadReply(reply);
    std::vector<Place> places;
    for (size_t i = 0; i < m_directSearch.Names().size(); ++i) {
        places.push_back({m_directSearch.Names()[i], m_directSearch.Places()[i].id});
    }
    return places;
}

// Direct mode: the widget then needs no look-up for the search result picked as the place or a favourite.
void TOptionsForm::RememberPickedResult() {
    const int selected = Selection(IDC_RESULTS);
    if (m_servers.Direct && selected >= 0) m_directSearch.RememberPicked(m_settings, static_cast<size_t>(selected));
}

void TOptionsForm::AddFavorite(const std::optional<Place>& place) {
    if (!place) return;
    int index = -1;
    switch (m_favorites.Add(*place, &index)) {
        case FavoriteList::AddResult::Added:
            SendMessageW(
                Control(IDC_FAVORITES), LB_INSERTSTRING, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(Widen(m_favorites.Places()[static_cast<size_t>(index)].name).c_str()));
            break;
        case FavoriteList::AddResult::Duplicate:
            ShowMessage(DuplicateFavoriteMessage(StorableName(place->name)));
            break;
        case FavoriteList::AddResult::Unstorable:
            ShowMessage(UnstorableFavoriteMessage(StorableName(place->name)));
            break;
    }
}

void TOptionsForm::OnRemoveFavoriteClicked() {
    const int selected = Selection(IDC_FAVORITES);
    if (selected < 0) return;
    const int next = m_favorites.Remove(selected);
    SendMessageW(Control(IDC_FAVORITES), LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    SetSelection(IDC_FAVORITES, next);
}

void TOptionsForm::OnRemoveAllFavoritesClicked() {
    m_favorites.Clear();
    SendMessageW(Control(IDC_FAVORITES), LB_RESETCONTENT, 0, 0);
}

HWND TOptionsForm::Control(int id) const {
    for (const auto& page : m_pages) {
        if (!page) continue;
        if (const HWND control = GetDlgItem(page->Handle(), id)) return control;
    }
    return GetDlgItem(Handle(), id);
}

std::string TOptionsForm::Text(int id) const {
    const HWND control = Control(id);
    const int length = control ? GetWindowTextLengthW(control) : 0;
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return Narrow(text);
}

void TOptionsForm::SetText(int id, const std::string& text) { SetWindowTextW(Control(id), Widen(text).c_str()); }

bool TOptionsForm::Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TOptionsForm::Check(int id, bool on) {
    SendMessageW(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TOptionsForm::Enable(int id, bool on) { EnableWindow(Control(id), on ? TRUE : FALSE); }

// The selected index of a drop-down or list box; -1 for none.
int TOptionsForm::Selection(int id) const {
    const HWND control = Control(id);
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const bool list = lstrcmpiW(className, L"ListBox") == 0;
    const LRESULT index = SendMessageW(control, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : static_cast<int>(index);
}

void TOptionsForm::SetSelection(int id, int index) {
    const HWND control = Control(id);
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const bool list = lstrcmpiW(className, L"ListBox") == 0;
    SendMessageW(control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TOptionsForm::FillList(int id, const std::vector<Place>& places) {
    const HWND control = Control(id);
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const bool list = lstrcmpiW(className, L"ListBox") == 0;
    SendMessageW(control, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
    for (const auto& place : places) {
        SendMessageW(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(place.name).c_str()));
    }
}

std::optional<Place> TOptionsForm::Selected(int id, const std::vector<Place>& places) const {
    const int index = Selection(id);
    if (index < 0 || index >= static_cast<int>(places.size())) return std::nullopt;
    return places[static_cast<size_t>(index)];
}

void TOptionsForm::ShowMessage(const std::string& text) {
    MessageBoxW(Handle(), Widen(text).c_str(), L"Hata", MB_OK | MB_ICONERROR);
}

}  // namespace nimbo
