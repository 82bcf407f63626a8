#!/usr/bin/env bash
# Benchmarks of the data service, run on purpose and never by CI: search latency over the full places file
# (in the process and over HTTP), start-up time and memory with the full index, cached feed requests per
# second (wrk) against nginx serving the same feed as a static file in alternating rounds, and a cached
# feed's p99 with 1 000 idle connections open; the service's limits are on, set high. Prints each run and
# the median; targets: search p99 over HTTP < 1 ms, start < 2 s, at least 0.7 of nginx's rate.
# NIMBO_BENCH_ROUNDS sets the rounds (3). Built in its own optimised tree, build/bench.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh
places="$(scripts/places.sh)"
[ -f build/bench/CMakeCache.txt ] || cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >build/bench.configure.log
cmake --build build/bench -j "${NIMBO_JOBS:-$(nproc)}" --target nimbo-service nimbo_search_bench >build/bench.build.log
build/bench/nimbo_search_bench "$places"
exec python3 bench/service_bench.py build/bench/nimbo-service "$places"
