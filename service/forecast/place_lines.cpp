// Building the search lines and telling places with the same name apart.
#include "service/forecast/place_lines.h"

#include <algorithm>
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

}  // namespace

std::vector<std::string> PlaceLines(const std::vector<PlaceLineParts>& places) {
    std::vector<uint32_t> shown(places.size(), 0);
    std::vector<size_t> considered(places.size(), 0);  // levels below this were shown or did not tell apart
    std::vector<std::string> lines(places.size());
    for (bool changed = true; changed;) {
        changed = false;
        std::map<std::string, std::vector<size_t>> alike;
        for (size_t i = 0; i < places.size(); ++i) {
            lines[i] = Line(places[i], shown[i]);
            alike[lines[i]].push_back(i);
        }
        for (const auto& [line, group] : alike) {
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
    return lines;
}

}  // namespace nimbo::service
