// Sorting and captions of the favourites submenus.
#include "widget/favorites_menu.h"

#include <algorithm>

#include "base/utf.h"

namespace nimbo {

namespace {

// Each letter's place in the alphabet (q, w and x where the Latin alphabet has them), above every code
// point that is no letter; anything else keeps its code point.
uint32_t CollationKey(char32_t c) {
    static constexpr char32_t kAlphabet[] = U"abcçdefgğhıijklmnoöpqrsştuüvwxyz";
    switch (c) {
        case U'I':
            c = U'ı';
            break;
        case U'İ':
            c = U'i';
            break;
        case U'Ç':
            c = U'ç';
            break;
        case U'Ğ':
            c = U'ğ';
            break;
        case U'Ö':
            c = U'ö';
            break;
        case U'Ş':
            c = U'ş';
            break;
        case U'Ü':
            c = U'ü';
            break;
        default:
            if (c >= U'A' && c <= U'Z') c = c - U'A' + U'a';
    }
    for (uint32_t i = 0; kAlphabet[i]; ++i) {
        if (kAlphabet[i] == c) return 0x110000 + i;
    }
    return c < U'a' ? c : 0x110000 + 64 + c;
}

}  // namespace

bool TurkishLessNoCase(const std::string& a, const std::string& b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const uint32_t x = CollationKey(NextCodePoint(a, i));
        const uint32_t y = CollationKey(NextCodePoint(b, j));
        if (x != y) return x < y;
    }
    return i >= a.size() && j < b.size();
}

std::vector<std::string> FavoriteMenuList(const KeyValueList& favorites) {
    std::vector<std::string> lines;
    lines.reserve(favorites.size());
    for (const auto& [name, code] : favorites) lines.push_back(name + "=" + code);
    std::stable_sort(lines.begin(), lines.end(), TurkishLessNoCase);
    return lines;
}

std::string FavoriteName(const std::string& line) { return line.substr(0, line.find('=')); }

std::string MenuCaptionOf(const std::string& name) {
    std::string caption;
    for (char c : name) {
        caption += c;
        if (c == '&') caption += '&';
    }
    return caption;
}

}  // namespace nimbo
