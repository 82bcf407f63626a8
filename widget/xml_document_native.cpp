// The XML document on pugixml, whose XPath matches qualified names literally, as the feed paths need.
#include <pugixml.hpp>

#include "widget/xml_document.h"

namespace nimbo {
namespace {

class PugiNode : public XmlNode {
public:
    explicit PugiNode(pugi::xml_node node) : m_node(node) {}

    std::optional<std::string> Attribute(const std::string& name) const override {
        const pugi::xml_attribute attribute = m_node.attribute(name.c_str());
        if (!attribute) return std::nullopt;
        return std::string(attribute.value());
    }

    std::string Text() const override {
        std::string text;
        AppendText(m_node, text);
        const size_t first = text.find_first_not_of(" \t\r\n");
        if (first == std::string::npos) return {};
        const size_t last = text.find_last_not_of(" \t\r\n");
        return text.substr(first, last - first + 1);
    }

private:
    // Walks the subtree without recursion, so a deeply nested answer cannot exhaust the stack.
    static void AppendText(pugi::xml_node root, std::string& text) {
        pugi::xml_node node = root.first_child();
        while (node) {
            if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
            while (node != root && !node.next_sibling()) node = node.parent();
            if (node == root) break;
            node = node.next_sibling();
        }
    }

    pugi::xml_node m_node;
};

class PugiDocument : public XmlDocument {
public:
    XmlNodePtr SelectSingleNode(const std::string& path) const override {
        try {
            const pugi::xpath_node found = m_document.select_node(path.c_str());
            if (found.node()) return std::make_unique<PugiNode>(found.node());
        } catch (const pugi::xpath_exception&) {
            // A path the engine cannot read selects nothing, as an absent element does.
        }
        return nullptr;
    }

    std::vector<XmlNodePtr> SelectNodes(const std::string& path) const override {
        std::vector<XmlNodePtr> nodes;
        try {
            for (const pugi::xpath_node& found : m_document.select_nodes(path.c_str())) {
                if (found.node()) nodes.push_back(std::make_unique<PugiNode>(found.node()));
            }
        } catch (const pugi::xpath_exception&) {
            nodes.clear();
        }
        return nodes;
    }

protected:
    bool LoadText(const std::string& text) override {
        m_document.reset();
        const pugi::xml_parse_result result =
            m_document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
        if (result && HasOneRootElement()) return true;
        m_document.reset();
        return false;
    }

private:
    // pugixml accepts fragments with several top-level elements; a document has exactly one.
    bool HasOneRootElement() const {
        int elements = 0;
        for (pugi::xml_node child = m_document.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) ++elements;
            if (child.type() == pugi::node_pcdata) return false;
        }
        return elements == 1;
    }

    pugi::xml_document m_document;
};

}  // namespace

std::unique_ptr<XmlDocument> CreateXmlDocument() { return std::make_unique<PugiDocument>(); }

}  // namespace nimbo
