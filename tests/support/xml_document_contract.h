// One test suite for every XML backend: each backend's test file instantiates it with its factory.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "widget/xml_document.h"

namespace nimbo::testing {

struct XmlBackend {
    std::string name;
    std::function<std::unique_ptr<XmlDocument>()> create;
};

class XmlDocumentContract : public ::testing::TestWithParam<XmlBackend> {
protected:
    // A fresh document loaded with `text`; the load must succeed.
    std::unique_ptr<XmlDocument> Load(const std::string& text);
};

inline std::string XmlBackendName(const ::testing::TestParamInfo<XmlBackend>& info) { return info.param.name; }

}  // namespace nimbo::testing
