// The protobuf wire format, only as far as cities.pbf needs it: varints and length-delimited fields.
#include "service/core/places.h"

#include <algorithm>
#include <utility>

namespace nimbo::service {
namespace {

class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    bool AtEnd() const { return m_pos >= m_bytes.size(); }

    bool Varint(uint64_t& value) {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (AtEnd()) return false;
            const auto byte = static_cast<unsigned char>(m_bytes[m_pos++]);
            value |= static_cast<uint64_t>(byte & 0x7F) << shift;
            if (byte < 0x80) return true;
        }
        return false;
    }

    bool Bytes(std::string_view& out) {
        uint64_t length = 0;
        if (!Varint(length) || length > m_bytes.size() - m_pos) return false;
        out = m_bytes.substr(m_pos, length);
        m_pos += length;
        return true;
    }

private:
    std::string_view m_bytes;
    size_t m_pos = 0;
};

int64_t ZigZag(uint64_t value) { return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1); }

}  // namespace

PlacesRead ReadPlaces(std::string_view bytes) {
    PlacesRead result;
    Reader file(bytes);
    // Wrapping sums: damaged deltas give odd coordinates, never undefined behaviour.
    uint64_t latitude = 0;
    uint64_t longitude = 0;
    while (!file.AtEnd()) {
        std::string_view message;
        if (!file.Bytes(message)) {
            result.error = "the places file is cut off after " + std::to_string(result.places.size()) + " places";
            return result;
        }
        Reader fields(message);
        Place place;
        while (!fields.AtEnd()) {
            uint64_t key = 0;
            uint64_t number = 0;
            std::string_view text;
            if (!fields.Varint(key)) break;
            const uint64_t wireType = key & 7;
            bool ok = true;
            if (wireType == 0)
                ok = fields.Varint(number);
            else if (wireType == 2)
                ok = fields.Bytes(text);
            else
                ok = false;
            if (!ok) {
                result.error = "place " + std::to_string(result.places.size() + 1) + " is damaged";
                return result;
            }
            switch (key >> 3) {
                case 1:
                    place.id = static_cast<uint32_t>(ZigZag(number));
                    break;
                case 2:
                    place.name = text;
                    break;
                case 3:
                    place.country = text;
                    break;
                case 4:
                    place.altName = text;
                    break;
                case 7:
                    place.featureCode = text;
                    break;
                case 8:
                    place.admin1 = text;
                    break;
                case 9:
                    place.population = number;
                    break;
                case 10:
                    longitude += static_cast<uint64_t>(ZigZag(number));
                    break;
                case 11:
                    latitude += static_cast<uint64_t>(ZigZag(number));
                    break;
                default:
                    break;
            }
        }
        place.latitude = static_cast<double>(static_cast<int64_t>(latitude)) / 1e5;
        place.longitude = static_cast<double>(static_cast<int64_t>(longitude)) / 1e5;
        result.places.push_back(std::move(place));
    }
    return result;
}

size_t AddPlaceRegions(std::string_view tsv, std::vector<Place>& places) {
    std::vector<std::pair<uint32_t, size_t>> byId;
    byId.reserve(places.size());
    for (size_t i = 0; i < places.size(); ++i) byId.emplace_back(places[i].id, i);
    std::sort(byId.begin(), byId.end());
    size_t named = 0;
    while (!tsv.empty()) {
        const size_t end = std::min(tsv.find('\n'), tsv.size());
        std::string_view line = tsv.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        tsv.remove_prefix(std::min(end + 1, tsv.size()));
        const size_t tab1 = line.find('\t');
        const size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos || tab1 == 0 || tab1 > 10) continue;
        uint64_t id = 0;
        bool number = true;
        for (const char c : line.substr(0, tab1)) {
            number = number && c >= '0' && c <= '9';
            id = id * 10 + static_cast<uint64_t>(c - '0');
        }
        if (!number || id > 0xFFFFFFFFull) continue;
        const auto it =
            std::lower_bound(byId.begin(), byId.end(), std::make_pair(static_cast<uint32_t>(id), size_t{0}));
        if (it == byId.end() || it->first != id) continue;
        Place& place = places[it->second];
        place.region = line.substr(tab1 + 1, tab2 - tab1 - 1);
        place.district = line.substr(tab2 + 1);
        ++named;
    }
    return named;
}

}  // namespace nimbo::service
