// WidgetSettings: defaults, value forms, the period table, and the order and failure rules of saving.
#include "widget/widget_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"

namespace nimbo {
namespace {

// Keeps values in memory and records every write and flush, so the order of a save can be checked;
// it refuses the write numbered `failAtWrite` (1-based) as a read-only file would.
class RecordingSettingsFile final : public SettingsFile {
public:
    const std::string& FileName() const override { return m_name; }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override {
        const auto it = m_values.find(section + "/" + key);
        return it == m_values.end() ? defaultValue : it->second;
    }
    std::vector<std::string> ReadSection(const std::string&) const override { return {}; }
    void EraseSection(const std::string&) override {}
    void UpdateFile() override { log.push_back("flush"); }
    bool Exists() const override { return true; }
    std::string ReadText() const override { return ""; }
    void CreateWithText(const std::string&) override {}

    void Set(const std::string& name, const std::string& value) { m_values[name] = value; }

    std::vector<std::string> log;
    int failAtWrite = 0;

private:
    bool StoreString(const std::string& section, const std::string& key, const std::string& value) override {
        if (++m_writeCount == failAtWrite) throw SettingsWriteError(m_name);
        m_values[section + "/" + key] = value;
        log.push_back(section + "/" + key + "=" + value);
        return true;
    }
    void StoreSection(const std::string&, const KeyValueList&) override {}

    std::string m_name = ".\\Options.ini";
    std::map<std::string, std::string> m_values;
    int m_writeCount = 0;
};

TEST(WidgetSettings, AnEmptyFileGivesTheWidgetsDefaults) {
    RecordingSettingsFile file;
    const LoadedWidgetSettings loaded = ReadWidgetSettings(file);
    EXPECT_EQ(loaded.left, 300);
    EXPECT_EQ(loaded.top, 300);
    EXPECT_EQ(loaded.infoTextLeft, 331);
    EXPECT_EQ(loaded.infoTextTop, 331);
    EXPECT_EQ(loaded.cityName, "Istanbul");
    EXPECT_EQ(loaded.cityId, "TUXX0014");
    EXPECT_EQ(loaded.tempFontName, "Arial");
    EXPECT_EQ(loaded.cityFontName, "Arial");
    const WidgetSettings& s = loaded.settings;
    EXPECT_TRUE(s.autoUpdate);
    EXPECT_EQ(s.updatePeriodMs, 900000u);  // the widget's default index 2, not the dialog's 0
    EXPECT_TRUE(s.showTrayIcon);
    EXPECT_EQ(s.viewStyle, 2);
    EXPECT_EQ(s.background, 2);
    EXPECT_EQ(s.backColor, 8421504u);
    EXPECT_FALSE(s.glassEffect);
    EXPECT_EQ(s.glassOpacity, 150);
    EXPECT_TRUE(s.showIP);
    EXPECT_FALSE(s.showSunInfo || s.showSituation || s.showDate || s.showHijri || s.showWind || s.showVisibility ||
                 s.showHumidity || s.showChill);
    EXPECT_TRUE(s.showWeatherText);
    EXPECT_TRUE(s.fadeEffect);
    EXPECT_TRUE(s.showInfoText);
    EXPECT_FALSE(s.alwaysTop);
    EXPECT_TRUE(s.firstUsage);
    EXPECT_FALSE(s.hibernate);
}

TEST(WidgetSettings, UpdatePeriodIndicesMapToTheirPeriods) {
    const std::pair<int32_t, uint32_t> cases[] = {{0, 300000},  {1, 600000}, {2, 900000}, {3, 1800000}, {4, 3600000},
                                                  {5, 7200000}, {6, 300000}, {7, 300000}, {-1, 300000}, {1000, 300000}};
    for (const auto& [index, period] : cases) EXPECT_EQ(UpdatePeriodMs(index), period) << index;

    RecordingSettingsFile file;
    file.Set("General/UpdatePeriod", "7");
    EXPECT_EQ(ReadWidgetSettings(file).settings.updatePeriodMs, 300000u);
    file.Set("General/UpdatePeriod", "abc");  // no number: the widget's default index 2
    EXPECT_EQ(ReadWidgetSettings(file).settings.updatePeriodMs, 900000u);
}

TEST(WidgetSettings, ByteSettingsKeepTheLowByteAndBooleansAnyNonZero) {
    RecordingSettingsFile file;
    file.Set("Appearance/GlassOpacity", "300");
    file.Set("Appearance/ViewStyle", "258");
    file.Set("Appearance/Background", "-1");
    file.Set("Appearance/BackColor", "16711935");
    file.Set("General/AlwaysTop", "-5");
    file.Set("General/FadeEffect", "0");
    file.Set("Appearance/ShowIP", "no");  // no number: default true
    const WidgetSettings s = ReadWidgetSettings(file).settings;
    EXPECT_EQ(s.glassOpacity, 44);
    EXPECT_EQ(s.viewStyle, 2);
    EXPECT_EQ(s.background, 255);
    EXPECT_EQ(s.backColor, 16711935u);
    EXPECT_TRUE(s.alwaysTop);
    EXPECT_FALSE(s.fadeEffect);
    EXPECT_TRUE(s.showIP);
}

SavedWidgetState SampleState() {
    SavedWidgetState state;
    state.viewStyle = 1;
    state.left = -20;
    state.top = 45;
    state.cityName = "Şanlıurfa";
    state.cityId = "TUXX0027";
    state.infoTextLeft = 500;
    state.infoTextTop = 12;
    state.showInfoText = false;
    state.hibernate = true;
    return state;
}

TEST(WidgetSettings, SaveWritesInItsOrderAndClearsFirstUsageOnce) {
    RecordingSettingsFile file;
    WidgetSettings settings;
    SaveWidgetSettings(file, SampleState(), settings);
    const std::vector<std::string> expected = {"Appearance/ViewStyle=1",
                                               "Appearance/Left=-20",
                                               "Appearance/Top=45",
                                               "Location/CityName=Şanlıurfa",
                                               "Location/CityID=TUXX0027",
                                               "Appearance/InfoTextLeft=500",
                                               "Appearance/InfoTextTop=12",
                                               "Appearance/ShowInfoText=0",
                                               "Appearance/Hibernate=1",
                                               "General/FirstUsage=0",
                                               "flush"};
    EXPECT_EQ(file.log, expected);
    EXPECT_FALSE(settings.firstUsage);

    file.log.clear();
    SaveWidgetSettings(file, SampleState(), settings);
    EXPECT_EQ(std::count(file.log.begin(), file.log.end(), "General/FirstUsage=0"), 0);
    EXPECT_EQ(file.log.back(), "flush");
}

// A record that lost its place (an error answer, a feed without one) must not erase the stored name.
TEST(WidgetSettings, AnEmptyPlaceNameLeavesTheStoredOne) {
    RecordingSettingsFile file;
    file.Set("Location/CityName", "Şanlıurfa");
    WidgetSettings settings;
    SavedWidgetState state = SampleState();
    state.cityName.clear();
    SaveWidgetSettings(file, state, settings);
    EXPECT_EQ(std::count(file.log.begin(), file.log.end(), "Location/CityName="), 0);
    EXPECT_EQ(ReadWidgetSettings(file).cityName, "Şanlıurfa");
}

TEST(WidgetSettings, ARefusedWriteStopsTheRestOfTheSave) {
    RecordingSettingsFile file;
    file.failAtWrite = 3;
    WidgetSettings settings;
    EXPECT_THROW(SaveWidgetSettings(file, SampleState(), settings), SettingsWriteError);
    EXPECT_EQ(file.log, (std::vector<std::string>{"Appearance/ViewStyle=1", "Appearance/Left=-20"}));
    EXPECT_TRUE(settings.firstUsage);  // not written, so the next save tries again
}

TEST(WidgetSettings, ASavedStateIsReadBackFromARealFile) {
    testing::TempFolder folder;
    IniFile file(folder.File("Options.ini"));
    WidgetSettings settings;
    SaveWidgetSettings(file, SampleState(), settings);
    const LoadedWidgetSettings loaded = ReadWidgetSettings(file);
    EXPECT_EQ(loaded.left, -20);
    EXPECT_EQ(loaded.top, 45);
    // The information window's position comes back as saved, not as the default.
    EXPECT_EQ(loaded.infoTextLeft, 500);
    EXPECT_EQ(loaded.infoTextTop, 12);
    EXPECT_EQ(loaded.cityName, "Şanlıurfa");
    EXPECT_EQ(loaded.cityId, "TUXX0027");
    EXPECT_EQ(loaded.settings.viewStyle, 1);
    EXPECT_TRUE(loaded.settings.hibernate);
    EXPECT_FALSE(loaded.settings.showInfoText);
    EXPECT_FALSE(loaded.settings.firstUsage);
}

}  // namespace
}  // namespace nimbo
