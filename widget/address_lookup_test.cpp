// Reading the address-echo document: only a found address replaces the one shown.
#include "widget/address_lookup.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(AddressLookup, TheAddressIsTheTextOfDataIp) {
    EXPECT_EQ(ReadPublicAddress("<?xml version=\"1.0\"?><data><ip>85.105.1.2</ip></data>"), "85.105.1.2");
    EXPECT_EQ(ReadPublicAddress("<data><country>TR</country><ip> 2001:db8::1 </ip></data>"), "2001:db8::1");
    for (const char* unreadable :
         {"", "85.105.1.2", "<data><addr>85.105.1.2</addr></data>", "<html><body>Bad Gateway</body></html>"}) {
        EXPECT_EQ(ReadPublicAddress(unreadable), std::nullopt) << unreadable;
    }
}

}  // namespace
}  // namespace nimbo
