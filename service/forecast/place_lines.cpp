// Building the search lines and telling places with the same name apart.
#include "service/forecast/place_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

namespace nimbo::service {
namespace {

constexpr size_t kLevels = 32;  // smaller divisions beyond these are never shown

const std::string& DivisionAt(const PlaceLineParts& place, size_t level) {
    static const std::string kNone;
    return level < place.smallerDivisions.size() ? place.smallerDivisions[level] : kNone;
}

// The line with the smaller divisions of `shown` (a bit per level), the smallest next to the name.
std::string Line(const PlaceLineParts& place, uint32_t shown) {
    std::string line = place.name;
    const auto append = [&line](const std::string& part) {
        if (!part.empty()) line += (line.empty() ? "" : ", ") + part;
    };
    for (size_t level = place.smallerDivisions.size(); level-- > 0;) {
        if (level < kLevels && (shown >> level & 1u)) append(place.smallerDivisions[level]);
    }
    append(place.region);
    append(place.country);
    return line;
}

// "52.41° K 7.38° D": hundredths of a degree (about a kilometre), Kuzey/Güney and Doğu/Batı.
std::string Position(double latitude, double longitude) {
    const auto degrees = [](double value, const char* positive, const char* negative) {
        const long long hundredths = std::llround(std::fabs(value) * 100);
        const std::string fraction = std::to_string(100 + hundredths % 100).substr(1);
        return std::to_string(hundredths / 100) + "." + fraction + "° " + (value < 0 ? negative : positive);
    };
    return degrees(latitude, "K", "G") + " " + degrees(longitude, "D", "B");
}

std::map<std::string, std::vector<size_t>> Alike(const std::vector<std::string>& lines) {
    std::map<std::string, std::vector<size_t>> alike;
    for (size_t i = 0; i < lines.size(); ++i) alike[lines[i]].push_back(i);
    return alike;
}

}  // namespace

std::vector<std::string> PlaceLines(const std::vector<PlaceLineParts>& places) {
    std::vector<uint32_t> shown(places.size(), 0);
    std::vector<size_t> considered(places.size(), 0);  // levels below this were shown or did not tell apart
    std::vector<std::string> lines(places.size());
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t i = 0; i < places.size(); ++i) lines[i] = Line(places[i], shown[i]);
        for (const auto& [line, group] : Alike(lines)) {
            if (group.size() < 2) continue;
            size_t from = 0;
            size_t known = 0;
            for (const size_t i : group) {
                from = std::max(from, considered[i]);
                known = std::max(known, std::min(places[i].smallerDivisions.size(), kLevels));
            }
            // The next level at which the group's places differ is added to all of them.
            for (size_t level = from; level < known; ++level) {
                bool differ = false;
                for (const size_t i : group) {
                    differ = differ || DivisionAt(places[i], level) != DivisionAt(places[group[0]], level);
                }
                if (!differ) continue;
                for (const size_t i : group) {
                    shown[i] |= 1u << level;
                    considered[i] = level + 1;
                }
                changed = true;
                break;
            }
        }
    }
    for (const auto& [line, group] : Alike(lines)) {
        std::vector<std::string> positions;
        for (const size_t i : group) positions.push_back(Position(places[i].latitude, places[i].longitude));
        if (std::equal(positions.begin() + 1, positions.end(), positions.begin())) continue;  // one spot
        for (size_t k = 0; k < group.size(); ++k) lines[group[k]] += " (" + positions[k] + ")";
    }
    return lines;
}

}  // namespace nimbo::service
