// What a screen reader says for the main window: its text, read through the window's default accessible object.
#pragma once

#include <string>

#include "widget/connection_state.h"
#include "widget/system_time.h"
#include "widget/weather_data.h"

namespace nimbo {

// "Nimbo! İstanbul, 6°, Yağışlı. Yarın 9° / 3°, Parçalı bulutlu." from what the face shows: the place, the
// temperature and the condition, then tomorrow's cell (the one titled "YARIN" on `today`). Missing values are
// left out; while not connected the connection's words stand for the weather ("Nimbo! Bağlantı yok.").
std::string SpokenSummary(ConnectionState state, const WeatherData& weather, const SystemTime& today);

// Lines of a face (the information text, the about window's notice) as one name: each line a sentence, so a
// screen reader pauses between them ("GD: 07:14, GB: 16:37. Nem: %80"); empty lines are dropped.
std::string SpokenLines(const std::string& text);

}  // namespace nimbo
