// Request targets: the path decides the route, the query only ever gives the search text.
#include "service/core/request.h"

#include "base/turkish_codepage.h"
#include "base/utf.h"

namespace nimbo::service {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        if (NextCodePoint(text, pos) == U'\uFFFD' && text.substr(start, pos - start) != "\xEF\xBF\xBD") return false;
    }
    return true;
}

// The raw value of parameter `name` in a query string, if present.
std::optional<std::string_view> Parameter(std::string_view query, std::string_view name) {
    while (!query.empty()) {
        const size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const size_t equals = pair.find('=');
        if (pair.substr(0, equals) == name) return equals == std::string_view::npos ? "" : pair.substr(equals + 1);
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return std::nullopt;
}

Request Routed(Route route) {
    Request request;
    request.route = route;
    return request;
}

}  // namespace

bool IsValidPlaceId(std::string_view id) {
    if (id.size() == 8 && IsUpper(id[0]) && IsUpper(id[1]) && IsUpper(id[2]) && IsUpper(id[3])) {
        for (size_t i = 4; i < 8; ++i) {
            if (!IsDigit(id[i])) return false;
        }
        return true;
    }
    if (id.empty() || id.size() > 10 || id[0] == '0') return false;
    unsigned long long value = 0;
    for (const char c : id) {
        if (!IsDigit(c)) return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= 0xFFFFFFFFull;
}

std::optional<std::string> DecodeSearchQuery(std::string_view raw, bool* windows1254) {
    if (raw.size() > 3 * kMaxQueryBytes) return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%') {
            if (i + 2 >= raw.size()) return std::nullopt;
            const int high = HexValue(raw[i + 1]);
            const int low = HexValue(raw[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            bytes += raw[i] == '+' ? ' ' : raw[i];
        }
    }
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    }
    const size_t first = bytes.find_first_not_of(' ');
    bytes = first == std::string::npos ? std::string() : bytes.substr(first, bytes.find_last_not_of(' ') - first + 1);
    if (bytes.size() > kMaxQueryBytes) return std::nullopt;
    const bool utf8 = IsValidUtf8(bytes);
    if (windows1254) *windows1254 = !utf8;
    return utf8 ? bytes : TurkishToUtf8(bytes);
}

Request ParseRequestTarget(std::string_view target) {
    // The absolute form ("http://host/path"), which servers must accept too: only its path counts.
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (target.substr(0, scheme.size()) == scheme) {
            const size_t slash = target.find('/', scheme.size());
            target = slash == std::string_view::npos ? "/" : target.substr(slash);
        }
    }
    if (target.empty() || target[0] != '/' || target.size() > kMaxTargetLength) return Routed(Route::BadRequest);
    const size_t mark = target.find('?');
    const std::string_view path = target.substr(0, mark);
    const std::string_view query = mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);

    constexpr std::string_view kFeedPrefix = "/forecastrss/";
    if (path.substr(0, kFeedPrefix.size()) == kFeedPrefix) {
        std::string_view name = path.substr(kFeedPrefix.size());
        constexpr std::string_view kSuffix = ".xml";
        if (name.size() < 2 + kSuffix.size() || name.substr(name.size() - kSuffix.size()) != kSuffix)
            return Routed(Route::BadRequest);
        name.remove_suffix(kSuffix.size());
        const char unit = name.back();
        if (name[name.size() - 2] != '_' || (unit != 'c' && unit != 'f')) return Routed(Route::BadRequest);
        const std::string_view id = name.substr(0, name.size() - 2);
        if (!IsValidPlaceId(id)) return Routed(Route::BadRequest);
        Request request = Routed(Route::Feed);
        request.placeId = std::string(id);
        request.unit = unit == 'c' ? FeedUnit::Celsius : FeedUnit::Fahrenheit;
        return request;
    }
    if (path == "/search/search") {
        const auto where = Parameter(query, "where");
        bool windows1254 = false;
        const auto text = DecodeSearchQuery(where.value_or(""), &windows1254);
        if (!text) return Routed(Route::BadRequest);
        Request request = Routed(Route::Search);
        request.windows1254 = windows1254;
        request.query = *text;
        return request;
    }
    if (path == "/nimbo.xml") return Routed(Route::Version);
    if (path == "/getip.php") return Routed(Route::Address);
    if (path == "/" || path == "/index.html") return Routed(Route::IndexPage);
    if (path == "/projects.html") return Routed(Route::ProjectsPage);
    if (path == "/healthz") return Routed(Route::Health);
    if (path == "/metrics") return Routed(Route::Metrics);
    return Routed(Route::NotFound);
}

}  // namespace nimbo::service
