// Reading the version document and comparing its version with the program's.
#include "widget/version_check.h"

#include <algorithm>
#include <cctype>

namespace nimbo {

std::string ReadLatestVersion(XmlDocument& document, const std::string& text) {
    if (text.empty() || !document.LoadXml(text)) return {};
    const XmlNodePtr version = document.SelectSingleNode("/data/version");
    return version ? version->Text() : std::string();
}

std::string ReadLatestVersion(const std::string& text) {
    if (text.empty()) return {};
    return ReadLatestVersion(*CreateXmlDocument(), text);
}

bool IsNewerVersion(const std::string& latest) {
    if (latest.empty()) return false;
    const std::string own = kProgramVersion;
    return std::lexicographical_compare(own.begin(), own.end(), latest.begin(), latest.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) < std::tolower(static_cast<unsigned char>(b));
    });
}

std::string NewVersionQuestion(const std::string& latest) {
    return "Nimbo! nın " + latest + " sürümü çıkmış! İndirmek ister misiniz?";
}

}  // namespace nimbo
