// The generated table: every province seat and old code once, inside Turkey, and under its Turkish name.
#include "service/forecast/known_places.h"

#include <gtest/gtest.h>

#include <string>

namespace nimbo::service {
namespace {

TEST(KnownPlaces, EveryProvinceSeatAndOldCodeOnceInsideTurkeyUnderItsTurkishName) {
    const auto& places = KnownPlaces();
    ASSERT_EQ(places.size(), 81u + 6u);
    size_t seats = 0;
    for (const KnownPlace& place : places) {
        EXPECT_EQ(FindKnownPlace(place.id), &place) << place.id;
        EXPECT_TRUE(place.latitude > 35.8 && place.latitude < 42.2 && place.longitude > 25.6 && place.longitude < 44.9)
            << place.id;
        if (place.id == std::to_string(place.geonameId)) ++seats;
    }
    EXPECT_EQ(seats, 81u);
    for (const char* code : {"TUXX0002", "TUXX0014", "TUXX0015", "TUXX0039", "TUXX0040", "TUXX0004"}) {
        const KnownPlace* old = FindKnownPlace(code);
        ASSERT_TRUE(old) << code;
        // An old code stands for a seat and shares its name and place.
        const KnownPlace* seat = FindKnownPlace(std::to_string(old->geonameId));
        ASSERT_TRUE(seat) << code;
        EXPECT_STREQ(old->name, seat->name);
        EXPECT_EQ(old->latitude, seat->latitude);
    }
    for (const auto& [id, name] : {std::pair{"745044", "İstanbul"}, {"746425", "Gümüşhane"}, {"749748", "Çankırı"},
                                   {"318137", "Hakkari"}}) {
        ASSERT_TRUE(FindKnownPlace(id)) << id;
        EXPECT_STREQ(FindKnownPlace(id)->name, name);
    }
}

}  // namespace
}  // namespace nimbo::service
