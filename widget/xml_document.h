// A small XML DOM behind one interface: pugixml in the native build, "Microsoft.XMLDOM" on Windows.
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo {

// The DOM component could not be created or failed in a way no document explains.
class XmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class XmlNode {
public:
    virtual ~XmlNode() = default;
    // No value when the node has no attribute of that name.
    virtual std::optional<std::string> Attribute(const std::string& name) const = 0;
    // The text of the node and everything below it, without the blanks around it.
    virtual std::string Text() const = 0;
};

using XmlNodePtr = std::unique_ptr<XmlNode>;

// Texts are UTF-8 both ways. Paths are absolute and name elements by their qualified names as the document
// writes them (`/rss/channel/yweather:location`): namespace declarations play no part.
class XmlDocument {
public:
    virtual ~XmlDocument() = default;

    // False when the text is no well-formed XML document; the document is then empty. Blanks before the
    // XML declaration are forgiven, because recorded feeds carry them.
    bool LoadXml(std::string_view text);

    // Null when no element matches (never an error).
    virtual XmlNodePtr SelectSingleNode(const std::string& path) const = 0;
    virtual std::vector<XmlNodePtr> SelectNodes(const std::string& path) const = 0;

protected:
    virtual bool LoadText(const std::string& text) = 0;
};

// The platform's DOM. Throws XmlError when the component cannot be created.
std::unique_ptr<XmlDocument> CreateXmlDocument();

}  // namespace nimbo
