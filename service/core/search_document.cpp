// Writing the search answer with pugixml.
#include "service/core/search_document.h"

#include <sstream>

#include <pugixml.hpp>

#include "base/turkish_codepage.h"

namespace nimbo::service {

std::string SearchDocument(const PlaceIndex& index, const std::vector<const Place*>& places,
                           DocumentEncoding encoding) {
    pugi::xml_document document;
    pugi::xml_node search = document.append_child("search");
    const std::vector<std::string> names = index.DisplayNames(places);
    for (size_t i = 0; i < places.size(); ++i) {
        pugi::xml_node loc = search.append_child("loc");
        loc.append_attribute("id") = std::to_string(places[i]->id).c_str();
        loc.text() = names[i].c_str();
    }
    std::ostringstream out;
    document.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    const std::string body = "<?xml version=\"1.0\" encoding=\"" +
                             std::string(encoding == DocumentEncoding::Utf8 ? "UTF-8" : "windows-1254") + "\"?>\n" +
                             out.str() + "\n";
    return encoding == DocumentEncoding::Utf8 ? body : Utf8ToTurkish(body);
}

}  // namespace nimbo::service
