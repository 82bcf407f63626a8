// The main window's spoken summary.
#include "widget/face/spoken_summary.h"

#include <vector>

#include "widget/face/forecast_days.h"
#include "widget/face/value_format.h"

namespace nimbo {

namespace {

constexpr char kTomorrowTitle[] = "YARIN";

// The non-empty parts joined by ", " and closed by a full stop; empty when there are none. A part that already
// ends a sentence ("Bağlantı kuruluyor...") gets no second stop.
std::string Sentence(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        if (!text.empty()) text += ", ";
        text += part;
    }
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

std::string TomorrowSentence(const WeatherData& weather, const SystemTime& today) {
    for (const ForecastCell& cell : ForecastCells(weather, today)) {
        if (!cell.day || cell.title != kTomorrowTitle) continue;
        const ForecastDay& day = *cell.day;
        std::string temperatures = TemperatureText(day.High);
        const std::string low = TemperatureText(day.Low);
        if (!low.empty()) temperatures += temperatures.empty() ? low : " / " + low;
        const std::string condition = day.Code.empty() ? std::string() : TurkishConditionText(day.Code);
        if (temperatures.empty() && condition.empty()) return {};
        if (temperatures.empty()) return Sentence({"Yarın " + condition});
        return Sentence({"Yarın " + temperatures, condition});
    }
    return {};
}

// A line that ends in punctuation of its own goes on after a blank; a sentence that runs over lines
// ("..., Nimbo veri servisi ile,") is not cut by a full stop.
bool EndsWithPunctuation(const std::string& text) {
    const char last = text.empty() ? '\0' : text.back();
    return last == '.' || last == '!' || last == '?' || last == ':' || last == ',' || last == ';';
}

}  // namespace

std::string SpokenLines(const std::string& text) {
    std::string spoken;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.erase(0, 1);
        if (!line.empty()) {
            if (!spoken.empty()) spoken += EndsWithPunctuation(spoken) ? " " : ". ";
            spoken += line;
        }
        start = end + 1;
    }
    return spoken;
}

std::string SpokenSummary(ConnectionState state, const WeatherData& weather, const SystemTime& today) {
    std::string summary = "Nimbo!";
    if (state != ConnectionState::Succeeded) return summary + " " + Sentence({PlaceText(state, weather)});
    const std::string now =
        Sentence({weather.City, TemperatureText(weather.Temperature),
                  weather.ConditionCode.empty() ? std::string() : TurkishConditionText(weather.ConditionCode)});
    if (!now.empty()) summary += " " + now;
    const std::string tomorrow = TomorrowSentence(weather, today);
    if (!tomorrow.empty()) summary += " " + tomorrow;
    return summary;
}

}  // namespace nimbo
