// The options dialog's rules, independent of its controls.
#include "widget/config/options_model.h"

#include "widget/settings_keys.h"

namespace nimbo {
namespace {

constexpr int kUpdatePeriodCount = 6;
constexpr int kBackgroundCount = 5;

int IndexOrNone(int32_t value, int count) { return value >= 0 && value < count ? value : -1; }

}  // namespace

OptionValues LoadOptionValues(const SettingsFile& file) {
    using namespace settings;
    constexpr auto dialog = SettingsReader::Dialog;
    OptionValues v;
    v.background = IndexOrNone(Read(file, kBackground, dialog), kBackgroundCount);
    v.startup = Read(file, kStartup, dialog);
    v.desktop = Read(file, kDesktop, dialog);
    v.quickLaunch = Read(file, kQuickLunch, dialog);
    v.autoUpdate = Read(file, kAutoUpdate, dialog);
    v.updatePeriod = IndexOrNone(Read(file, kUpdatePeriod, dialog), kUpdatePeriodCount);
    v.showTrayIcon = Read(file, kShowTrayIcon, dialog);
    v.trayTemperature = Read(file, kTrayTemperature, dialog);
    v.alwaysTop = Read(file, kAlwaysTop, dialog);
    v.checkNewVersion = Read(file, kCheckNewVersion, dialog);
    v.fadeEffect = Read(file, kFadeEffect, dialog);
    v.backColor = static_cast<uint32_t>(Read(file, kBackColor, dialog));
    v.glassEffect = Read(file, kGlassEffect, dialog);
    v.glassOpacity = Read(file, kGlassOpacity, dialog) & 0xFF;
    v.showWeatherText = Read(file, kShowWeatherText, dialog);
    v.showIP = Read(file, kShowIP, dialog);
    v.showSunInfo = Read(file, kShowSunInfo, dialog);
    v.showSituation = Read(file, kShowSituation, dialog);
    v.showDate = Read(file, kShowDate, dialog);
    v.showHijri = Read(file, kShowHijri, dialog);
    v.showWind = Read(file, kShowWind, dialog);
    v.showVisibility = Read(file, kShowVisibility, dialog);
    v.showHumidity = Read(file, kShowHumidity, dialog);
    v.showChill = Read(file, kShowChill, dialog);
    v.showInfoText = Read(file, kShowInfoText, dialog);
    v.tempFontName = Read(file, kTempFontName);
    v.cityFontName = Read(file, kCityFontName);
    v.lastTabSheet = Read(file, kLastTabSheet, dialog);
    return v;
}

int InitialOptionsPage(int requestedPage, int storedPage) {
    if (requestedPage >= 0 && requestedPage < kOptionsPageCount) return requestedPage;
    return storedPage >= 0 && storedPage < kOptionsPageCount ? storedPage : 0;
}

std::optional<int> ParseOpacity(const std::string& text) {
    int32_t value = -1;
    if (!ParseSettingsInteger(text, value) || value < kOpacityMin || value > kOpacityMax) return std::nullopt;
    return value;
}

std::string OpacityMessage() {
    return "Saydamlık " + std::to_string(kOpacityMin) + "-" + std::to_string(kOpacityMax) + " arasında olmalıdır";
}

AppearanceEnabling ApplyEnablingRules(bool autoUpdate, int background, bool glassEffect, bool showInfoText,
                                      bool showTrayIcon) {
    const bool panel = background == kBackgroundChooseColour;
    return {autoUpdate, panel, panel && glassEffect, showInfoText, showTrayIcon};
}

PlaceEnabling ApplySelectionMode(SelectionMode mode, bool citySelected, bool queryTyped, bool resultSelected,
                                 bool favoriteSelected) {
    const bool turkey = mode == SelectionMode::Turkey;
    const bool search = mode == SelectionMode::Search;
    const bool favorites = mode == SelectionMode::Favorites;
    return {turkey,    turkey && citySelected,       search, search && queryTyped, search && resultSelected,
            favorites, favorites && favoriteSelected};
}

std::optional<Place> PickedPlace(bool locationChanged, SelectionMode mode, const std::optional<Place>& city,
                                 const std::optional<Place>& result, const std::optional<Place>& favorite) {
    if (!locationChanged) return std::nullopt;
    const std::optional<Place>& chosen =
        mode == SelectionMode::Turkey ? city : (mode == SelectionMode::Search ? result : favorite);
    if (!chosen || chosen->name.empty() || chosen->id.empty()) return std::nullopt;
    return chosen;
}

void SaveOptionValues(SettingsFile& file, const OptionValues& v, const std::optional<Place>& place,
                      const FavoriteList& favorites) {
    using namespace settings;
    Write(file, kStartup, v.startup);
    Write(file, kDesktop, v.desktop);
    Write(file, kQuickLunch, v.quickLaunch);
    Write(file, kAutoUpdate, v.autoUpdate);
    Write(file, kUpdatePeriod, v.updatePeriod);
    Write(file, kBackground, v.background);
    if (place) {
        Write(file, kCityName, place->name);
        Write(file, kCityID, place->id);
    }
    Write(file, kShowTrayIcon, v.showTrayIcon);
    Write(file, kTrayTemperature, v.trayTemperature);
    Write(file, kAlwaysTop, v.alwaysTop);
    Write(file, kCheckNewVersion, v.checkNewVersion);
    Write(file, kFadeEffect, v.fadeEffect);
    Write(file, kBackColor, static_cast<int32_t>(v.backColor));
    Write(file, kGlassEffect, v.glassEffect);
    Write(file, kGlassOpacity, v.glassOpacity);
    for (const auto& [setting, value] : {std::pair{&kShowWeatherText, v.showWeatherText},
                                         {&kShowIP, v.showIP},
                                         {&kShowSunInfo, v.showSunInfo},
                                         {&kShowSituation, v.showSituation},
                                         {&kShowDate, v.showDate},
                                         {&kShowHijri, v.showHijri},
                                         {&kShowWind, v.showWind},
                                         {&kShowVisibility, v.showVisibility},
                                         {&kShowHumidity, v.showHumidity},
                                         {&kShowChill, v.showChill},
                                         {&kShowInfoText, v.showInfoText}}) {
        Write(file, *setting, value);
    }
    Write(file, kLastTabSheet, v.lastTabSheet);
    if (favorites.Changed()) favorites.Save(file);
    Write(file, kTempFontName, v.tempFontName);
    Write(file, kCityFontName, v.cityFontName);
}

}  // namespace nimbo
