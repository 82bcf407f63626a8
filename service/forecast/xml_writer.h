// A small XML writer that escapes every text and attribute it writes; no library beyond the standard one.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace nimbo::service {

// Escapes &, <, >, " and ', and drops what XML 1.0 cannot carry (control characters other than tab and
// newlines, and invalid UTF-8), so any input gives a well-formed document.
std::string EscapeXml(std::string_view text);

class XmlWriter {
public:
    using Attributes = std::initializer_list<std::pair<const char*, std::string_view>>;

    explicit XmlWriter(std::string& out) : m_out(out) {}

    void Declaration();
    void Open(const char* name, Attributes attributes = {});
    void Close(const char* name);
    // <name>text</name> on one line.
    void TextElement(const char* name, std::string_view text, Attributes attributes = {});
    // <name a="..."/> on one line.
    void EmptyElement(const char* name, Attributes attributes);

private:
    void StartTag(const char* name, Attributes attributes);

    std::string& m_out;
};

}  // namespace nimbo::service
