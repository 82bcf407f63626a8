// Folding of Latin letters to their unaccented lower-case ASCII base.
#include "service/core/search_fold.h"

#include "base/utf.h"

namespace nimbo::service {
namespace {

// U+00C0 to U+00FF, then U+0100 to U+017F: the base letter of each, '\0' where there is none.
constexpr char kLatin1[] =
    "aaaaaaaceeeeiiii"    // C0-CF (C6 Æ handled apart)
    "dnooooo\0ouuuuyts"   // D0-DF (D7 ×, DF ß handled apart)
    "aaaaaaaceeeeiiii"    // E0-EF
    "dnooooo\0ouuuuyty";  // F0-FF
constexpr char kLatinExtendedA[] =
    "aaaaaa"
    "cccccccc"
    "dddd"
    "eeeeeeeeee"
    "gggggggg"
    "hhhh"
    "iiiiiiiiii"
    "ii"
    "jj"
    "kkk"
    "llllllllll"
    "nnnnnnnnn"
    "oooooooo"
    "rrrrrr"
    "ssssssss"
    "tttttt"
    "uuuuuuuuuuuu"
    "ww"
    "yyy"
    "zzzzzz"
    "s";
static_assert(sizeof(kLatin1) == 64 + 1 && sizeof(kLatinExtendedA) == 128 + 1);

}  // namespace

std::string FoldForSearch(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        const size_t start = pos;
        const char32_t c = NextCodePoint(utf8, pos);
        if (c == U'\uFFFD' && utf8.substr(start, pos - start) != "\xEF\xBF\xBD") continue;
        if (c < 0x80) {
            out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
        } else if (c == U'Æ' || c == U'æ') {
            out += "ae";
        } else if (c == U'ß') {
            out += "ss";
        } else if (c == U'Œ' || c == U'œ') {
            out += "oe";
        } else if (c >= 0xC0 && c <= 0xFF && kLatin1[c - 0xC0] != '\0') {
            out += kLatin1[c - 0xC0];
        } else if (c >= 0x100 && c <= 0x17F) {
            out += kLatinExtendedA[c - 0x100];
        } else {
            out.append(utf8.substr(start, pos - start));
        }
    }
    return out;
}

}  // namespace nimbo::service
