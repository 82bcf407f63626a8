#!/usr/bin/env bash
# Builds every tree: native tests, the same with sanitizers, Windows x86_64, and the Windows XP (i686) programs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh
scripts/places.sh >/dev/null  # the data service's places, for its search tests and make run
jobs="${NIMBO_JOBS:-$(nproc)}"

configure() {  # preset [extra cache settings...]
    local preset="$1"; shift
    if [ ! -f "build/$preset/CMakeCache.txt" ]; then
        cmake --preset "$preset" "$@" >"build/$preset.configure.log" 2>&1 || { cat "build/$preset.configure.log"; exit 1; }
    fi
}

mkdir -p build
configure win64
configure win32
configure native-asan
configure native -DNIMBO_ASAN_DIR="$root/build/native-asan" -DNIMBO_WIN64_DIR="$root/build/win64" \
    -DNIMBO_WIN32_DIR="$root/build/win32"

build() {  # preset [targets...]
    local preset="$1"; shift
    local log="build/$preset.build.log"
    echo "== building $preset"
    if ! cmake --build "build/$preset" -j "$jobs" "$@" >"$log" 2>&1; then
        grep -E 'error|Error' "$log" | head -40
        echo "build of $preset failed; the whole log is $log"
        exit 1
    fi
    grep -E 'warning:' "$log" | sort -u | head -20 || true
}

build native
build native-asan
build win64
build win32 --target Nimbo nimbo_shipped Uninstall setup
