// The pugixml backend against the XML document suite.
#include <gtest/gtest.h>

#include "tests/support/xml_document_contract.h"

namespace nimbo::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Native, XmlDocumentContract,
                         ::testing::Values(XmlBackend{"Pugixml", [] { return CreateXmlDocument(); }}), XmlBackendName);

}  // namespace
}  // namespace nimbo::testing
