// The "Microsoft.XMLDOM" backend against the XML document suite, under Wine.
#include "widget/xml_document_win.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include "base/unique_handle_win.h"
#include "tests/support/xml_document_contract.h"

namespace nimbo::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Windows, XmlDocumentContract,
                         ::testing::Values(XmlBackend{"MicrosoftXmlDom", [] { return CreateXmlDocument(); }}),
                         XmlBackendName);

// Wine never resolves external entities, whatever the settings; Windows' MSXML 3 does by default, so the
// settings themselves are checked.
TEST(MicrosoftXmlDom, DocumentTypesAreDistrustedBeforeAnyLoad) {
    const ComInitializer com;
    CLSID id{};
    ASSERT_EQ(CLSIDFromProgID(L"Microsoft.XMLDOM", &id), S_OK);
    ComPtr<IDispatch> document;
    ASSERT_EQ(
        CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(document.Put())),
        S_OK);
    DistrustDocumentTypes(document.Get());
    for (const wchar_t* property : {L"resolveExternals", L"validateOnParse", L"async"}) {
        DISPID dispatchId = 0;
        LPOLESTR name = const_cast<LPOLESTR>(property);
        ASSERT_EQ(document->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispatchId), S_OK);
        DISPPARAMS none{};
        VARIANT value;
        VariantInit(&value);
        ASSERT_EQ(document->Invoke(dispatchId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value,
                                   nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(value.vt, VT_BOOL);
        EXPECT_EQ(value.boolVal, VARIANT_FALSE) << static_cast<int>(property[0]);
        VariantClear(&value);
    }
}

}  // namespace
}  // namespace nimbo::testing
