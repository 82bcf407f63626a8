// The location search: its request URL and the places its reply lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "widget/config/place.h"
#include "widget/xml_document.h"

namespace nimbo {

// `base` + "/search/search?where=" + the query as UTF-8, percent-encoded: spaces, "&", "#" and Turkish letters
// stay inside the one `where` value.
std::string SearchUrl(const std::string& base, const std::string& query);

// The places of a reply in reply order, duplicates kept. The bytes are decoded by their byte-order mark or
// declared encoding. A reply that is no document with root `search` lists nothing; a `loc` element without an
// `id`, or with an empty name or id, is left out. Line breaks and other control characters in names and ids
// become single spaces.
std::vector<Place> ParseSearchReply(std::string_view bytes, XmlDocument& document);
// The same on the platform's DOM. Throws XmlError when the DOM cannot be created.
std::vector<Place> ParseSearchReply(std::string_view bytes);

// "3 yer bulundu.", or "Herhangi bir yer bulunamadı." for none.
std::string SearchCountText(size_t count);

}  // namespace nimbo
