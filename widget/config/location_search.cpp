// Location search: URL building and reply reading.
#include "widget/config/location_search.h"

#include "base/untrusted_text.h"
#include "widget/document_text.h"

namespace nimbo {

std::string SearchUrl(const std::string& base, const std::string& query) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = base + "/search/search?where=";
    for (const char c : query) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                                byte == '~';
        if (unreserved) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 15];
        }
    }
    return url;
}

std::vector<Place> ParseSearchReply(std::string_view bytes, XmlDocument& document) {
    std::vector<Place> places;
    if (!document.LoadXml(DecodeDocumentText(bytes)) || !document.SelectSingleNode("/search")) return places;
    for (const auto& node : document.SelectNodes("/search/loc")) {
        const auto id = node->Attribute("id");
        if (!id) continue;
        Place place{OneLine(node->Text()), OneLine(*id)};
        if (!place.name.empty() && !place.id.empty()) places.push_back(std::move(place));
    }
    return places;
}

std::vector<Place> ParseSearchReply(std::string_view bytes) {
    if (bytes.empty()) return {};
    const auto document = CreateXmlDocument();
    return ParseSearchReply(bytes, *document);
}

std::string SearchCountText(size_t count) {
    return count > 0 ? std::to_string(count) + " yer bulundu." : "Herhangi bir yer bulunamadı.";
}

}  // namespace nimbo
