// The escaping XML writer of the feed.
#include "service/forecast/xml_writer.h"

namespace nimbo::service {
namespace {

// Length of the valid UTF-8 sequence at `pos` that XML may carry, or 0.
size_t ValidSequence(std::string_view text, size_t pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) return (lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r') ? 1 : 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, code = lead & 0x07;
    else
        return 0;
    if (pos + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(pos + i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool excluded = (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF || code > 0x10FFFF;
    return overlong || excluded ? 0 : length;
}

}  // namespace

std::string EscapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t length = ValidSequence(text, pos);
        if (length == 0) {
            ++pos;
            continue;
        }
        switch (text[pos]) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out.append(text.substr(pos, length));
        }
        pos += length;
    }
    return out;
}

void XmlWriter::Declaration() { m_out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"; }

void XmlWriter::StartTag(const char* name, Attributes attributes) {
    m_out += '<';
    m_out += name;
    for (const auto& [attribute, value] : attributes) {
        m_out += ' ';
        m_out += attribute;
        m_out += "=\"";
        m_out += EscapeXml(value);
        m_out += '"';
    }
}

void XmlWriter::Open(const char* name, Attributes attributes) {
    StartTag(name, attributes);
    m_out += ">\n";
}

void XmlWriter::Close(const char* name) {
    m_out += "</";
    m_out += name;
    m_out += ">\n";
}

void XmlWriter::TextElement(const char* name, std::string_view text, Attributes attributes) {
    StartTag(name, attributes);
    m_out += '>';
    m_out += EscapeXml(text);
    m_out += "</";
    m_out += name;
    m_out += ">\n";
}

void XmlWriter::EmptyElement(const char* name, Attributes attributes) {
    StartTag(name, attributes);
    m_out += "/>\n";
}

}  // namespace nimbo::service
