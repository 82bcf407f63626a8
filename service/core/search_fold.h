// The key a place name is searched by: lower case without diacritics, with Turkish rules for i and ı.
#pragma once

#include <string>
#include <string_view>

namespace nimbo::service {

// "İSTANBUL", "istanbul" and "Istanbul" all give "istanbul"; "Şanlıurfa" gives "sanliurfa". I, İ, ı and i are
// one letter, so a user who types without Turkish letters (or with them where they do not belong) finds the
// place. Latin letters lose their accents; other characters stay as they are; invalid UTF-8 is dropped.
std::string FoldForSearch(std::string_view utf8);

}  // namespace nimbo::service
