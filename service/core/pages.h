// The small documents and pages of the maker's web server: version, address echo, home and projects pages.
#pragma once

#include <string>
#include <string_view>

namespace nimbo::service {

std::string VersionDocument(std::string_view version);  // <data><version>1.60</version></data>
std::string AddressDocument(std::string_view address);  // <data><ip>...</ip></data>
std::string IndexPage(std::string_view version);        // with the "nimbonew" anchor the widget opens
std::string ProjectsPage();                             // with the "nimbo" anchor

}  // namespace nimbo::service
