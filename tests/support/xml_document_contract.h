// One test suite for every XML backend: each backend's test file instantiates it with its factory.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
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

// Names the backend in test listings instead of dumping the parameter's bytes.
inline void PrintTo(const XmlBackend& backend, std::ostream* out) { *out << backend.name; }

inline std::string XmlBackendName(const ::testing::TestParamInfo<XmlBackend>& info) { return info.param.name; }

}  // namespace nimbo::testing
