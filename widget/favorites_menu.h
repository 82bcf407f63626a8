// The favourites submenus: which items they show, in which order, with which captions.
#pragma once

#include <string>
#include <vector>

#include "widget/settings_file.h"

namespace nimbo {

inline constexpr char kEmptyFavoritesCaption[] = "Favori Listesi Boş";

// Case-insensitive order of the Turkish alphabet: "ç" after "c", "ı" before "i", "I" is "ı" and "İ" is "i".
// Other characters keep their code-point order, before the letters when below 'A'.
bool TurkishLessNoCase(const std::string& a, const std::string& b);

// FavoriteMenuList: the section's entries as "name=code" lines, sorted case-insensitively as whole lines.
std::vector<std::string> FavoriteMenuList(const KeyValueList& favorites);

// The name part of a line: everything before the first "=".
std::string FavoriteName(const std::string& line);

// A menu shows "&" as an access-key mark; doubling it shows a name as it is written.
std::string MenuCaptionOf(const std::string& name);

}  // namespace nimbo
