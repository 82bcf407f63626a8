// Decoding received documents by their byte-order mark or XML declaration.
#include "widget/document_text.h"

#include <algorithm>
#include <cctype>

#include "base/turkish_codepage.h"
#include "base/utf.h"

namespace nimbo {
namespace {

enum class Encoding { Utf8, Windows1254, Iso8859_9, Latin1 };

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The value of `encoding` in a leading XML declaration, in lower case; empty when there is none.
std::string DeclaredEncoding(std::string_view bytes) {
    const size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || !StartsWith(bytes.substr(start), "<?xml")) return {};
    const std::string_view declaration = bytes.substr(start, bytes.substr(start).find("?>"));
    size_t pos = declaration.find("encoding");
    if (pos == std::string_view::npos) return {};
    pos = declaration.find_first_not_of(" \t\r\n", pos + 8);
    if (pos == std::string_view::npos || declaration[pos] != '=') return {};
    pos = declaration.find_first_not_of(" \t\r\n", pos + 1);
    if (pos == std::string_view::npos || (declaration[pos] != '"' && declaration[pos] != '\'')) return {};
    const size_t end = declaration.find(declaration[pos], pos + 1);
    if (end == std::string_view::npos) return {};
    return Lower(declaration.substr(pos + 1, end - pos - 1));
}

Encoding EncodingNamed(const std::string& name) {
    for (const char* alias : {"iso-8859-9", "iso8859-9", "iso_8859-9", "latin5", "l5"}) {
        if (name == alias) return Encoding::Iso8859_9;
    }
    for (const char* alias : {"windows-1254", "cp1254", "x-cp1254"}) {
        if (name == alias) return Encoding::Windows1254;
    }
    for (const char* alias : {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1"}) {
        if (name == alias) return Encoding::Latin1;
    }
    return Encoding::Utf8;
}

bool IsValidUtf8(std::string_view bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t before = pos;
        if (NextCodePoint(bytes, pos) == 0xFFFD && !StartsWith(bytes.substr(before), "\xEF\xBF\xBD")) return false;
    }
    return true;
}

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return Utf16ToUtf8(units);
}

std::string FromUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return TurkishToUtf8(bytes, TurkishCharset::Windows1254);
}

std::string FromLatin1(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) AppendUtf8(text, static_cast<unsigned char>(c));
    return text;
}

}  // namespace

std::string DecodeDocumentText(std::string_view bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
    if (StartsWith(bytes, "\xFF\xFE")) return FromUtf16(bytes.substr(2), false);
    if (StartsWith(bytes, "\xFE\xFF")) return FromUtf16(bytes.substr(2), true);
    // UTF-16 without a mark still shows itself in the declaration's first characters.
    if (StartsWith(bytes, std::string_view("<\0?\0", 4))) return FromUtf16(bytes, false);
    if (StartsWith(bytes, std::string_view("\0<\0?", 4))) return FromUtf16(bytes, true);

    switch (EncodingNamed(DeclaredEncoding(bytes))) {
        case Encoding::Iso8859_9:
            return TurkishToUtf8(bytes, TurkishCharset::Iso8859_9);
        case Encoding::Windows1254:
            return TurkishToUtf8(bytes, TurkishCharset::Windows1254);
        case Encoding::Latin1:
            return FromLatin1(bytes);
        case Encoding::Utf8:
            break;
    }
    return FromUtf8(bytes);
}

}  // namespace nimbo
