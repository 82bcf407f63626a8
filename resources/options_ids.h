// Identifiers of the options dialog's templates and controls (options_form.rc), shared by its resource script and
// its code. The numbers are the form's own (check box n is 1100 + n, combo box n 1200 + n, button n 1300 + n...):
// tests drive the controls by them.
#pragma once

#define IDD_OPTIONS 200
#define IDD_OPTIONS_GENERAL 201
#define IDD_OPTIONS_APPEARANCE 202
#define IDD_OPTIONS_PLACES 203

// The form: the page control; "&Kaydet" is IDOK and "Ipt&al" IDCANCEL.
#define IDC_PAGES 1000

// Check boxes.
#define IDC_STARTUP_SHORTCUT 1101  // General/Startup, the Startup-folder shortcut
#define IDC_AUTO_UPDATE 1102       // General/AutoUpdate
#define IDC_SHOW_TRAY_ICON 1103    // General/ShowTrayIcon
#define IDC_ALWAYS_TOP 1104        // General/AlwaysTop
#define IDC_GLASS_EFFECT 1105      // Appearance/GlassEffect
#define IDC_SHOW_IP 1106           // the information window's lines, Appearance/Show...
#define IDC_SHOW_SUN 1107
#define IDC_SHOW_POSITION 1108
#define IDC_SHOW_DATE 1109
#define IDC_SHOW_HIJRI 1110
#define IDC_SHOW_WIND 1111
#define IDC_SHOW_VISIBILITY 1112
#define IDC_SHOW_HUMIDITY 1113
#define IDC_SHOW_FELT_TEMPERATURE 1114
#define IDC_SHOW_CONDITION 1115
#define IDC_CHECK_NEW_VERSION 1116      // General/CheckNewVersion
#define IDC_FADE_EFFECT 1117            // General/FadeEffect
#define IDC_DESKTOP_SHORTCUT 1118       // General/Desktop
#define IDC_QUICK_LAUNCH_SHORTCUT 1119  // General/QuickLunch
#define IDC_SHOW_INFO_WINDOW 1120       // Appearance/ShowInfoText: the information lines' master switch
#define IDC_TRAY_TEMPERATURE 1121       // General/TrayTemperature, enabled with the tray icon

// Drop-down lists.
#define IDC_CITIES 1201  // the places of Turkey, section CitiesTU
#define IDC_BACKGROUND 1202
#define IDC_UPDATE_PERIOD 1203

// Push buttons.
#define IDC_ADD_CITY_TO_FAVORITES 1303    // "+" beside the places of Turkey
#define IDC_ADD_RESULT_TO_FAVORITES 1304  // "+" beside the search results
#define IDC_SEARCH 1305                   // "&Araştır"
#define IDC_REMOVE_FAVORITE 1306          // "&Sil"
#define IDC_REMOVE_ALL_FAVORITES 1307     // "Tümünü Sil"

// The place selection modes.
#define IDC_MODE_CITIES 1401
#define IDC_MODE_SEARCH 1402
#define IDC_MODE_FAVORITES 1403

// Labels.
#define IDC_COLOUR_LABEL 1501
#define IDC_OPACITY_LABEL 1502
#define IDC_UPDATE_PERIOD_LABEL 1503
#define IDC_CITIES_LABEL 1504
#define IDC_BACKGROUND_LABEL 1505
#define IDC_OPACITY_RANGE 1506  // "[0-255]"
#define IDC_SEARCH_LABEL 1508
#define IDC_RESULTS_LABEL 1509
#define IDC_RESULT_COUNT 1510  // "n yer bulundu.", bold

#define IDC_OPACITY 1601       // Appearance/GlassOpacity
#define IDC_SEARCH_TEXT 1602   // a place's name or postal code
#define IDC_OPACITY_SPIN 1701  // the opacity's up-down
#define IDC_RESULTS 1801       // the search results
#define IDC_FAVORITES 1802     // the favourite places
#define IDC_COLOUR_SWATCH 1901
#define IDC_COLOUR_FRAME 1902

#define IDC_GROUP_PROGRAM 1951
#define IDC_GROUP_BACKGROUND 1952
#define IDC_GROUP_INFO 1953
#define IDC_GROUP_PLACE 1954
