// Turkish collation and case folding over UTF-8 names.
#include "widget/config/turkish_order.h"

#include <vector>

#include "base/utf.h"

namespace nimbo {
namespace {

constexpr char32_t kAlphabet[] = U"abcçdefgğhıijklmnoöprsştuüvyz";

// Lower case by Turkish rules: I becomes ı and İ becomes i.
char32_t TurkishLower(char32_t c) {
    if (c == U'I') return U'ı';
    if (c == U'İ') return U'i';
    if (c >= U'A' && c <= U'Z') return c + 32;
    switch (c) {
        case U'Ç':
            return U'ç';
        case U'Ğ':
            return U'ğ';
        case U'Ö':
            return U'ö';
        case U'Ş':
            return U'ş';
        case U'Ü':
            return U'ü';
        case U'Â':
        case U'â':
            return U'a';
        case U'Î':
        case U'î':
            return U'i';
        case U'Û':
        case U'û':
            return U'u';
    }
    // Latin-1 and Latin Extended-A capitals without a Turkish rule.
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    if (c >= 0x100 && c <= 0x17F && c % 2 == 0 && c != 0x130) return c + 1;
    return c;
}

// Letters by their place in the alphabet after everything else (digits, spaces, punctuation) by code point.
std::vector<uint32_t> Weights(std::string_view text) {
    std::vector<uint32_t> weights;
    for (size_t pos = 0; pos < text.size();) {
        const char32_t c = TurkishLower(NextCodePoint(text, pos));
        uint32_t weight = 0x200000 + static_cast<uint32_t>(c);
        for (size_t i = 0; kAlphabet[i]; ++i) {
            if (kAlphabet[i] == c) weight = 0x100000 + static_cast<uint32_t>(i);
        }
        if (c < U'A') weight = static_cast<uint32_t>(c);
        weights.push_back(weight);
    }
    return weights;
}

}  // namespace

int TurkishCompare(std::string_view a, std::string_view b) {
    const auto wa = Weights(a);
    const auto wb = Weights(b);
    if (wa != wb) return wa < wb ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

std::string NameFoldKey(std::string_view name) {
    std::string key;
    for (size_t pos = 0; pos < name.size();) {
        char32_t c = TurkishLower(NextCodePoint(name, pos));
        if (c == U'ı') c = U'i';
        AppendUtf8(key, c);
    }
    return key;
}

}  // namespace nimbo
