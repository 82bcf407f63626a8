// What the options dialog shows, what it saves and in which order, and which of its controls are enabled.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "widget/config/favorites.h"
#include "widget/config/place.h"
#include "widget/settings_file.h"

namespace nimbo {

inline constexpr int kOptionsPageCount = 3;
inline constexpr int kBackgroundChooseColour = 4;  // "Renk belirle...", the last item
inline constexpr int kOpacityMin = 0;
inline constexpr int kOpacityMax = 255;

// How the dialog closed: confirmed after "&Kaydet" saved everything, and whether a place was picked.
struct OptionsOutcome {
    bool confirmed = false;
    bool locationChanged = false;
};

// The values of the dialog's controls. Drop-down indexes are -1 for no selection.
struct OptionValues {
    // "Genel"
    bool startup = true;
    bool desktop = true;
    bool quickLaunch = true;
    bool showTrayIcon = true;
    bool trayTemperature = true;
    bool autoUpdate = true;
    int updatePeriod = 0;
    bool alwaysTop = false;
    bool fadeEffect = true;
    bool checkNewVersion = true;
    // "Görünüm"
    int background = 2;
    uint32_t backColor = 8421504;
    bool glassEffect = false;
    int glassOpacity = 240;
    bool showInfoText = true;
    bool showWeatherText = true;
    bool showIP = true;
    bool showSunInfo = false;
    bool showSituation = false;
    bool showDate = false;
    bool showHijri = false;
    bool showWind = false;
    bool showVisibility = false;
    bool showHumidity = false;
    bool showChill = false;
    // No control: read and written back unchanged.
    std::string tempFontName = "Arial";
    std::string cityFontName = "Arial";
    int lastTabSheet = 0;
};

// The settings as the dialog reads them, with its own defaults. An index outside its list reads as no selection.
OptionValues LoadOptionValues(const SettingsFile& settings);

// The page the dialog opens on: the caller's page when it is one, else the stored one (page 0 when that is none).
int InitialOptionsPage(int requestedPage, int storedPage);

// The opacity box's value when it is a number from 0 to 255; nothing otherwise.
std::optional<int> ParseOpacity(const std::string& text);
// "Saydamlık 0-255 arasında olmalıdır".
std::string OpacityMessage();

struct AppearanceEnabling {
    bool period;           // label and drop-down of the refresh period
    bool colourPanel;      // colour label, swatch and glass check box
    bool opacity;          // opacity label, box, up-down and note
    bool infoLines;        // the ten information lines
    bool trayTemperature;  // the temperature in the tray icon, which needs the icon
};
AppearanceEnabling ApplyEnablingRules(bool autoUpdate, int background, bool glassEffect, bool showInfoText,
                                      bool showTrayIcon);

enum class SelectionMode { Turkey = 0, Search = 1, Favorites = 2 };

struct PlaceEnabling {
    bool cityList;       // label and Turkey drop-down
    bool addCity;        // "+" beside it
    bool search;         // search box, labels and results list
    bool searchButton;   // "&Araştır"
    bool addResult;      // "+" beside the results
    bool favorites;      // favourites list
    bool removeButtons;  // "&Sil" and "Tümünü Sil"
};
PlaceEnabling ApplySelectionMode(SelectionMode mode, bool citySelected, bool queryTyped, bool resultSelected,
                                 bool favoriteSelected);

// The place to store after the user picked one: the selected entry of the selected mode's list, when it has a
// name and an ID.
std::optional<Place> PickedPlace(bool locationChanged, SelectionMode mode, const std::optional<Place>& city,
                                 const std::optional<Place>& result, const std::optional<Place>& favorite);

// Writes everything in the dialog's order: general switches, the place, appearance, information lines and page,
// favourites (only when changed), fonts. A refused write raises and skips the rest. Shortcuts follow elsewhere.
void SaveOptionValues(SettingsFile& settings, const OptionValues& values, const std::optional<Place>& place,
                      const FavoriteList& favorites);

}  // namespace nimbo
