// The "Microsoft.XMLDOM" backend against the XML document suite, under Wine.
#include <gtest/gtest.h>

#include "tests/support/xml_document_contract.h"

namespace nimbo::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Windows, XmlDocumentContract,
                         ::testing::Values(XmlBackend{"MicrosoftXmlDom", [] { return CreateXmlDocument(); }}),
                         XmlBackendName);

}  // namespace
}  // namespace nimbo::testing
