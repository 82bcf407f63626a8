// Byte <-> code point tables for Windows-1254 and ISO-8859-9.
#include "base/turkish_codepage.h"

#include "base/utf.h"

namespace nimbo {

namespace {

// Windows-1254 0x80..0x9F; the five unassigned bytes map to the C1 control of the same value, as Windows does.
constexpr char16_t kWindows1254High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x008E, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178,
};

// Both sets differ from Latin-1 in the upper half only at these six places.
char16_t TurkishLetter(unsigned char byte) {
    switch (byte) {
        case 0xD0:
            return 0x011E;  // Ğ
        case 0xDD:
            return 0x0130;  // İ
        case 0xDE:
            return 0x015E;  // Ş
        case 0xF0:
            return 0x011F;  // ğ
        case 0xFD:
            return 0x0131;  // ı
        case 0xFE:
            return 0x015F;  // ş
        default:
            return byte;
    }
}

char16_t ByteToCodePoint(unsigned char byte, TurkishCharset charset) {
    if (byte >= 0x80 && byte < 0xA0 && charset == TurkishCharset::Windows1254) return kWindows1254High[byte - 0x80];
    return TurkishLetter(byte);
}

int CodePointToByte(char32_t cp, TurkishCharset charset) {
    if (cp < 0x80) return static_cast<int>(cp);
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (ByteToCodePoint(static_cast<unsigned char>(byte), charset) == cp) return byte;
    }
    return -1;
}

}  // namespace

std::string TurkishToUtf8(std::string_view bytes, TurkishCharset charset) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(c), charset));
    return out;
}

std::string Utf8ToTurkish(std::string_view utf8, TurkishCharset charset) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const int byte = CodePointToByte(NextCodePoint(utf8, pos), charset);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

}  // namespace nimbo
