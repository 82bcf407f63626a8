// What every XML backend shares: the forgiving start of a document.
#include "widget/xml_document.h"

namespace nimbo {

bool XmlDocument::LoadXml(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t\r\n");
    return LoadText(std::string(start == std::string_view::npos ? std::string_view() : text.substr(start)));
}

}  // namespace nimbo
