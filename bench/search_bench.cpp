// Search benchmark: builds the index from the full places file and times searches (median and p99).
// cmake --build build/native --target nimbo_search_bench && build/native/nimbo_search_bench
// build/places/package/cities.pbf
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "service/core/place_index.h"
#include "service/core/search_document.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s cities.pbf\n", argv[0]);
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::ifstream file(argv[1], std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const nimbo::service::PlaceIndex index(nimbo::service::ReadPlaces(bytes.str()).places);
    std::printf("index: %zu places in %.0f ms\n", index.size(),
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());

    // Short prefixes are the worst case: they match the most places.
    const std::vector<std::string> queries = {"ist", "istanbul", "İSTANBUL", "sanliurfa", "izmir", "an", "sa",
                                              "ba",  "new york", "london",   "paris",     "be",    "ma", "es",
                                              "ko",  "berlin",   "xq",       "ankara",    "bur",   "los"};
    std::vector<double> micros;
    for (int round = 0; round < 200; ++round) {
        for (const std::string& q : queries) {
            const auto t = Clock::now();
            const std::string document =
                nimbo::service::SearchDocument(index, index.Search(q), nimbo::service::DocumentEncoding::Utf8);
            micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
            if (document.empty()) return 1;
        }
    }
    std::sort(micros.begin(), micros.end());
    std::printf("search + document: %zu runs, median %.0f us, p99 %.0f us, max %.0f us (target p99 < 2000 us)\n",
                micros.size(), micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back());
    return 0;
}
