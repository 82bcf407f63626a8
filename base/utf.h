// UTF-8 <-> UTF-16 conversion: text inside the program is UTF-8; UTF-16 appears only at Windows calls.
#pragma once

#include <string>
#include <string_view>

namespace nimbo {

// Invalid or truncated sequences become U+FFFD, so converting never fails and never reads past the input.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Appends one code point as UTF-8; values outside Unicode become U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the code point at `pos` and advances `pos`; a bad sequence yields U+FFFD and skips one byte.
char32_t NextCodePoint(std::string_view utf8, size_t& pos);

}  // namespace nimbo
