// Reading the address-echo server's document.
#include "widget/address_lookup.h"

namespace nimbo {

std::optional<std::string> ReadPublicAddress(XmlDocument& document, const std::string& text) {
    if (text.empty() || !document.LoadXml(text)) return std::nullopt;
    const XmlNodePtr ip = document.SelectSingleNode("/data/ip");
    if (!ip) return std::nullopt;
    return ip->Text();
}

std::optional<std::string> ReadPublicAddress(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return ReadPublicAddress(*CreateXmlDocument(), text);
}

}  // namespace nimbo
