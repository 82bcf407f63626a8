// The version check's decisions: reading the version document and whether to offer the newer version.
#pragma once

#include <string>

#include "widget/xml_document.h"

namespace nimbo {

inline constexpr char kProgramVersion[] = "1.60";
inline constexpr char kNewVersionCaption[] = "Yeni Sürüm için Uyarı";

// The text of /data/version; empty when the text is no XML document or has no such element.
std::string ReadLatestVersion(XmlDocument& document, const std::string& text);
// The same on the platform's DOM, created only when there is text. Throws XmlError when it cannot be created.
std::string ReadLatestVersion(const std::string& text);

// Texts compared character by character without regard to case, not as numbers: "1.61" and "2.0" are newer
// than "1.60", "1.6" and "1.100" are not.
bool IsNewerVersion(const std::string& latest);

std::string NewVersionQuestion(const std::string& latest);

}  // namespace nimbo
