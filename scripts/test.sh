#!/usr/bin/env bash
# Builds everything and runs every test layer through one ctest run with one summary.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/build.sh
# The one booted Wine prefix, which every test prefix copies (scripts/wine_prefix.sh).
WINEPREFIX="$root/build/wineprefix-base" scripts/wine_prefix.sh
echo "== running tests: native, sanitizers, Wine, end to end, Windows XP binary"
exec ctest --test-dir build/native --output-on-failure -j "${NIMBO_JOBS:-$(nproc)}"
