// The caller's address for /getip.php: the peer, or what a trusted proxy says it forwarded for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nimbo::service {

// An IPv4 or IPv6 address in its usual text form.
bool IsIpAddress(std::string_view text);

// The peer when it is not a trusted proxy. Otherwise X-Forwarded-For is walked from the right, past further
// trusted proxies, to the first address that is not one; a malformed entry stops the walk at the last
// trustworthy hop, so a client cannot make itself any address it likes.
std::string ClientAddress(std::string_view peer, std::string_view forwardedFor,
                          const std::vector<std::string>& trusted);

}  // namespace nimbo::service
