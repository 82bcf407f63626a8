// The Turkish single-byte character sets: Windows-1254 (the settings file's ANSI code page) and ISO-8859-9.
#pragma once

#include <string>
#include <string_view>

namespace nimbo {

enum class TurkishCharset { Windows1254, Iso8859_9 };

std::string TurkishToUtf8(std::string_view bytes, TurkishCharset charset = TurkishCharset::Windows1254);

// Characters the code page cannot hold become '?', as the system's conversion does without best fit.
std::string Utf8ToTurkish(std::string_view utf8, TurkishCharset charset = TurkishCharset::Windows1254);

}  // namespace nimbo
