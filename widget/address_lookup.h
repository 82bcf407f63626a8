// The public-address lookup's decisions: reading the address document.
#pragma once

#include <optional>
#include <string>

#include "widget/xml_document.h"

namespace nimbo {

// What IPAddress shows while a lookup the user asked for runs.
inline constexpr char kAddressPending[] = "Yineleniyor...";

// The text of /data/ip; no value when the text is no XML document or has no such element, so the
// address shown stays as it was.
std::optional<std::string> ReadPublicAddress(XmlDocument& document, const std::string& text);
// The same on the platform's DOM, created only when there is text. Throws XmlError when it cannot be created.
std::optional<std::string> ReadPublicAddress(const std::string& text);

}  // namespace nimbo
