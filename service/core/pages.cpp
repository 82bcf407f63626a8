// Fixed texts of the web pages, in Turkish like the widget.
#include "service/core/pages.h"

#include "service/forecast/xml_writer.h"

namespace nimbo::service {
namespace {

std::string Page(std::string_view title, std::string_view body) {
    return "<!DOCTYPE html>\n<html lang=\"tr\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + std::string(title) +
           "</title>\n</head>\n<body>\n" + std::string(body) +
           "<p><small>Hava durumu verileri: <a href=\"https://open-meteo.com/\">Weather data by Open-Meteo.com</a> "
           "(CC BY 4.0). Yer adları: <a href=\"https://www.geonames.org/\">GeoNames</a> (CC BY 4.0).</small></p>\n"
           "</body>\n</html>\n";
}

}  // namespace

std::string VersionDocument(std::string_view version) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<data><version>" + EscapeXml(version) + "</version></data>\n";
}

std::string AddressDocument(std::string_view address) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<data><ip>" + EscapeXml(address) + "</ip></data>\n";
}

std::string IndexPage(std::string_view version) {
    return Page("Nimbo!",
                "<h1>Nimbo!</h1>\n<p>Masaüstünüz için Türkçe hava durumu.</p>\n<h2 id=\"nimbonew\">Yeni sürüm</h2>\n"
                "<p>Nimbo! nın en yeni sürümü: " +
                    EscapeXml(version) + "</p>\n");
}

std::string ProjectsPage() {
    return Page("Projelerimiz",
                "<h1>Projelerimiz</h1>\n<h2 id=\"nimbo\">Nimbo!</h2>\n"
                "<p>Sıcaklık, yer, gökyüzü ve beş günlük hava durumu masaüstünüzde.</p>\n");
}

}  // namespace nimbo::service
