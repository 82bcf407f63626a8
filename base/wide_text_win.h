// UTF-8 std::string <-> UTF-16 std::wstring at the boundary of Windows calls.
#pragma once

#include <string>
#include <string_view>

#include "base/utf.h"

namespace nimbo {

inline std::wstring Widen(std::string_view utf8) {
    const std::u16string utf16 = Utf8ToUtf16(utf8);
    return std::wstring(utf16.begin(), utf16.end());
}

inline std::string Narrow(std::wstring_view wide) { return Utf16ToUtf8(std::u16string(wide.begin(), wide.end())); }

}  // namespace nimbo
