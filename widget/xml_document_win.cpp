// The XML document on the platform's "Microsoft.XMLDOM", late-bound through IDispatch.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <memory>
#include <utility>

#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "widget/xml_document.h"
#include "widget/xml_document_win.h"

namespace nimbo {
namespace {

[[noreturn]] void Fail(const wchar_t* what, HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(hr));
    throw XmlError("Microsoft.XMLDOM: " + Narrow(what) + " failed (0x" + code + ")");
}

using DispatchPtr = ComPtr<IDispatch>;

class Variant {
public:
    Variant() { VariantInit(&m_value); }
    ~Variant() { VariantClear(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : m_value(other.m_value) { VariantInit(&other.m_value); }
    Variant& operator=(Variant&&) = delete;

    VARIANT* Put() {
        VariantClear(&m_value);
        return &m_value;
    }
    const VARIANT& Get() const { return m_value; }

    // The object the member returned; null for a null node, VT_NULL or VT_EMPTY.
    DispatchPtr TakeObject() {
        DispatchPtr object;
        if (m_value.vt == VT_DISPATCH && m_value.pdispVal) {
            *object.Put() = m_value.pdispVal;  // adopts the reference the variant held
            m_value.vt = VT_EMPTY;
        }
        return object;
    }

    std::string Text() const {
        Variant converted;
        if (FAILED(VariantChangeType(converted.Put(), const_cast<VARIANT*>(&m_value), 0, VT_BSTR))) return {};
        const BSTR text = converted.Get().bstrVal;
        return text ? Narrow(std::wstring_view(text, SysStringLen(text))) : std::string();
    }

    long Integer() const {
        Variant converted;
        if (FAILED(VariantChangeType(converted.Put(), const_cast<VARIANT*>(&m_value), 0, VT_I4))) return 0;
        return converted.Get().lVal;
    }

    bool Boolean() const { return m_value.vt == VT_BOOL && m_value.boolVal != VARIANT_FALSE; }

private:
    VARIANT m_value;
};

// One argument for Invoke: a text (as BSTR) or an integer.
class Argument {
public:
    explicit Argument(const std::string& text) {
        VariantInit(&m_value);
        const std::wstring wide = Widen(text);
        m_value.vt = VT_BSTR;
        m_value.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (!m_value.bstrVal) throw XmlError("Microsoft.XMLDOM: out of memory");
    }
    explicit Argument(long number) {
        VariantInit(&m_value);
        m_value.vt = VT_I4;
        m_value.lVal = number;
    }
    ~Argument() { VariantClear(&m_value); }
    Argument(const Argument&) = delete;
    Argument& operator=(const Argument&) = delete;

    VARIANT* Get() { return &m_value; }

private:
    VARIANT m_value;
};

// Calls a member by name, matched without regard to case as late binding does.
Variant Invoke(IDispatch* object, const wchar_t* member, WORD kind, Argument* argument = nullptr) {
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) Fail(member, hr);
    DISPPARAMS parameters{argument ? argument->Get() : nullptr, nullptr, argument ? 1u : 0u, 0};
    Variant result;
    EXCEPINFO exception{};
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result.Put(), &exception, nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (FAILED(hr)) Fail(member, hr);
    return result;
}

Variant Get(IDispatch* object, const wchar_t* property) {
    return Invoke(object, property, DISPATCH_PROPERTYGET | DISPATCH_METHOD);
}

Variant Call(IDispatch* object, const wchar_t* method, Argument&& argument) {
    return Invoke(object, method, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &argument);
}

// Sets a property, the way late binding's `object.property = value` does.
HRESULT Put(IDispatch* object, const wchar_t* property, VARIANT value) {
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(property);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&value, &named, 1, 1};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &parameters, nullptr, nullptr,
                          nullptr);
}

VARIANT Bool(bool value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_BOOL;
    variant.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return variant;
}

class MsxmlNode : public XmlNode {
public:
    MsxmlNode(std::shared_ptr<ComInitializer> session, DispatchPtr node)
        : m_session(std::move(session)), m_node(std::move(node)) {}

    std::optional<std::string> Attribute(const std::string& name) const override {
        DispatchPtr attributes = Get(m_node.Get(), L"attributes").TakeObject();
        if (!attributes) return std::nullopt;
        DispatchPtr attribute = Call(attributes.Get(), L"getNamedItem", Argument(name)).TakeObject();
        if (!attribute) return std::nullopt;
        return Get(attribute.Get(), L"text").Text();
    }

    std::string Text() const override { return Get(m_node.Get(), L"text").Text(); }

private:
    std::shared_ptr<ComInitializer> m_session;
    DispatchPtr m_node;
};

class MsxmlDocument : public XmlDocument {
public:
    MsxmlDocument() : m_session(std::make_shared<ComInitializer>()) {
        CLSID id{};
        HRESULT hr = CLSIDFromProgID(L"Microsoft.XMLDOM", &id);
        if (FAILED(hr)) Fail(L"CLSIDFromProgID", hr);
        hr = CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(m_document.Put()));
        if (FAILED(hr)) Fail(L"CoCreateInstance", hr);
        DistrustDocumentTypes(m_document.Get());
    }

    // The default selection language of this DOM matches `yweather:location` by the name as written, so no
    // SelectionLanguage or SelectionNamespaces are set (Wine's msxml3 does the same, even when the prefix is
    // declared on each element rather than on the root).
    XmlNodePtr SelectSingleNode(const std::string& path) const override {
        DispatchPtr root = Get(m_document.Get(), L"documentElement").TakeObject();
        if (!root) return nullptr;
        DispatchPtr node = Call(root.Get(), L"selectSingleNode", Argument(path)).TakeObject();
        if (!node) return nullptr;
        return std::make_unique<MsxmlNode>(m_session, std::move(node));
    }

    std::vector<XmlNodePtr> SelectNodes(const std::string& path) const override {
        std::vector<XmlNodePtr> nodes;
        DispatchPtr root = Get(m_document.Get(), L"documentElement").TakeObject();
        if (!root) return nodes;
        DispatchPtr list = Call(root.Get(), L"selectNodes", Argument(path)).TakeObject();
        if (!list) return nodes;
        const long length = Get(list.Get(), L"length").Integer();
        for (long i = 0; i < length; ++i) {
            DispatchPtr node = Call(list.Get(), L"item", Argument(i)).TakeObject();
            if (node) nodes.push_back(std::make_unique<MsxmlNode>(m_session, std::move(node)));
        }
        return nodes;
    }

protected:
    bool LoadText(const std::string& text) override {
        return Call(m_document.Get(), L"loadXML", Argument(text)).Boolean();
    }

private:
    // COM stays initialised for as long as the document or one of its nodes lives; declared first, released last.
    std::shared_ptr<ComInitializer> m_session;
    DispatchPtr m_document;
};

}  // namespace

// Feeds come over plain HTTP, so a document type must neither fetch anything (local files, other hosts) nor
// expand entities into gigabytes.
void DistrustDocumentTypes(IDispatch* document) {
    Put(document, L"async", Bool(false));
    Put(document, L"validateOnParse", Bool(false));
    Put(document, L"resolveExternals", Bool(false));
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"setProperty");
    if (FAILED(document->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return;
    Argument property(std::string("ProhibitDTD"));
    VARIANT arguments[2] = {Bool(true), *property.Get()};  // the last argument first
    DISPPARAMS parameters{arguments, nullptr, 2, 0};
    document->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
}

std::unique_ptr<XmlDocument> CreateXmlDocument() { return std::make_unique<MsxmlDocument>(); }

}  // namespace nimbo
