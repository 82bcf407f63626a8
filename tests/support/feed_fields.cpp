// A parsed feed as "Field=value" pairs, for the feed reader's and the converter's tests.
#include "tests/support/feed_fields.h"

#include <sstream>

#include "tests/support/temp_folder.h"

namespace nimbo::testing {

FieldMap FeedFields(const WeatherData& data) {
    FieldMap fields{
        {"LastBuildDate", data.LastBuildDate},
        {"City", data.City},
        {"Region", data.Region},
        {"Country", data.Country},
        {"Sunrise", data.Sunrise},
        {"Sunset", data.Sunset},
        {"Latitude", data.Latitude},
        {"Longitude", data.Longitude},
        {"WindChill", data.WindChill},
        {"WindDirection", data.WindDirection},
        {"WindSpeed", data.WindSpeed},
        {"Humidity", data.Humidity},
        {"Visibility", data.Visibility},
        {"PubDate", data.PubDate},
        {"ConditionText", data.ConditionText},
        {"ConditionCode", data.ConditionCode},
        {"Temperature", data.Temperature},
        {"ConditionDate", data.ConditionDate},
    };
    for (size_t i = 0; i < data.Forecast.size(); ++i) {
        const ForecastDay& day = data.Forecast[i];
        const std::string prefix = "Forecast" + std::to_string(i) + ".";
        fields.insert({{prefix + "Day", day.Day},
                       {prefix + "Low", day.Low},
                       {prefix + "High", day.High},
                       {prefix + "Code", day.Code},
                       {prefix + "Date", day.Date},
                       {prefix + "Text", day.Text}});
    }
    for (auto it = fields.begin(); it != fields.end();) it = it->second.empty() ? fields.erase(it) : std::next(it);
    return fields;
}

FieldMap ExpectedFields(const std::filesystem::path& path) {
    FieldMap fields;
    std::istringstream lines(ReadBytes(path.string()));
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos || equals + 1 == line.size()) continue;
        fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return fields;
}

}  // namespace nimbo::testing
