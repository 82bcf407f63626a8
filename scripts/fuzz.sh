#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS (default 120) with sanitizers.
# Not part of make test: fuzzing is run on purpose. Findings are left in build/fuzz/<target>-findings.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh fuzz
seconds="${FUZZ_SECONDS:-120}"
[ -f build/fuzz/CMakeCache.txt ] || cmake --preset fuzz >build/fuzz.configure.log
cmake --build build/fuzz -j "$(nproc)" >build/fuzz.build.log 2>&1 || { tail -30 build/fuzz.build.log; exit 1; }
status=0
for target in build/fuzz/*_fuzz; do
    name="$(basename "$target")"
    corpus="build/fuzz/$name-corpus"
    findings="build/fuzz/$name-findings"
    mkdir -p "$corpus" "$findings"
    case "$name" in  # seeds: what each parser reads in real life
        open_meteo*) seeds=tests/data/open-meteo ;;
        request*) seeds=tests/data/requests ;;
        *) seeds=tests/data/feeds ;;
    esac
    echo "== $name for $seconds s"
    if ! "$target" -max_total_time="$seconds" -artifact_prefix="$findings/" "$corpus" "$seeds" \
        >"build/fuzz/$name.log" 2>&1; then
        echo "$name found a problem: see build/fuzz/$name.log and $findings"
        status=1
    else
        grep -E '^Done|stat::number_of_executed_units' "build/fuzz/$name.log" | tail -1
    fi
done
exit $status
