// Turkish alphabetical order and the letter-case rules under which two place names are the same name.
#pragma once

#include <string>
#include <string_view>

namespace nimbo {

// Negative, zero or positive as `a` sorts before, with or after `b` in the Turkish alphabet
// (a b c ç d e f g ğ h ı i j k l m n o ö p r s ş t u ü v y z), letter case ignored (I pairs with ı, İ with i).
// Names equal but for case keep a fixed order by their bytes.
int TurkishCompare(std::string_view a, std::string_view b);

// The form under which two names count as one key of the settings file: letter case folded, and the four
// i-letters (I ı İ i) taken as one, since the system's own key comparison pairs them in more than one way.
std::string NameFoldKey(std::string_view name);

}  // namespace nimbo
