// Walking X-Forwarded-For from the side the service's own proxies wrote.
#include "service/core/client_address.h"

#include <algorithm>

#include <arpa/inet.h>

namespace nimbo::service {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool IsTrusted(std::string_view address, const std::vector<std::string>& trusted) {
    return std::find(trusted.begin(), trusted.end(), address) != trusted.end();
}

}  // namespace

bool IsIpAddress(std::string_view text) {
    if (text.empty() || text.size() > 45) return false;
    const std::string copy(text);
    unsigned char buffer[16];
    return inet_pton(AF_INET, copy.c_str(), buffer) == 1 || inet_pton(AF_INET6, copy.c_str(), buffer) == 1;
}

std::string ClientAddress(std::string_view peer, std::string_view forwardedFor,
                          const std::vector<std::string>& trusted) {
    std::string_view client = peer;
    if (!IsTrusted(client, trusted)) return std::string(client);
    while (!forwardedFor.empty()) {
        const size_t comma = forwardedFor.rfind(',');
        const std::string_view hop =
            Trim(comma == std::string_view::npos ? forwardedFor : forwardedFor.substr(comma + 1));
        forwardedFor = comma == std::string_view::npos ? std::string_view() : forwardedFor.substr(0, comma);
        if (!IsIpAddress(hop)) break;
        client = hop;
        if (!IsTrusted(client, trusted)) break;
    }
    return std::string(client);
}

}  // namespace nimbo::service
