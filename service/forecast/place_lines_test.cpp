// Search lines: the region for every country, and smaller divisions only where lines would collide.
#include "service/forecast/place_lines.h"

#include <gtest/gtest.h>

namespace nimbo::service {
namespace {

TEST(PlaceLines, RegionEverywhereAndSmallerDivisionsOnlyWhereNeeded) {
    const std::string us = "Amerika Birleşik Devletleri";
    const std::vector<PlaceLineParts> places = {
        {"Hollywood", "Florida", {"Broward County", "City of Hollywood"}, us},
        {"Hollywood", "California", {"Los Angeles County", "City of Los Angeles"}, us},
        {"Hollywood", "Florida", {"Broward County", "Hollywood Beach"}, us},
        {"Hollywood", "Maryland", {"St. Mary's County"}, us},
        {"Hollywood", "Florida", {"Pinellas County"}, us},
        {"Hollywood", "Florida", {}, us},
        {"Berlin", "Berlin", {}, "Almanya"},
        {"Konyár", "Hajdú-Bihar", {"Derecskei Járás"}, "Macaristan"},
        {"İzmir", "İzmir", {"Konak"}, "Türkiye"},
        {"Twin", "", {"Same", ""}, ""},
        {"Twin", "", {"Same", ""}, ""},
        {"Neuenkirchen", "Lower Saxony", {""}, "Almanya", 52.41667, 7.36667},
        {"Neuenkirchen", "Lower Saxony", {""}, "Almanya", 53.0, 9.71667},
        {"Neuenkirchen", "Lower Saxony", {}, "Almanya", -0.004, -179.996},
    };
    EXPECT_EQ(PlaceLines(places), (std::vector<std::string>{
                                      "Hollywood, City of Hollywood, Broward County, Florida, " + us,
                                      "Hollywood, California, " + us,
                                      "Hollywood, Hollywood Beach, Broward County, Florida, " + us,
                                      "Hollywood, Maryland, " + us,
                                      "Hollywood, Pinellas County, Florida, " + us,
                                      "Hollywood, Florida, " + us,
                                      "Berlin, Berlin, Almanya",
                                      "Konyár, Hajdú-Bihar, Macaristan",
                                      "İzmir, İzmir, Türkiye",
                                      "Twin",
                                      "Twin",
                                      "Neuenkirchen, Lower Saxony, Almanya (52.42° K 7.37° D)",
                                      "Neuenkirchen, Lower Saxony, Almanya (53.00° K 9.72° D)",
                                      "Neuenkirchen, Lower Saxony, Almanya (0.00° G 180.00° B)",
                                  }));
    EXPECT_TRUE(PlaceLines({}).empty());
}

}  // namespace
}  // namespace nimbo::service
