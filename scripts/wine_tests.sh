#!/usr/bin/env bash
# Runs the Windows test program in a Wine prefix of its own, on the display it is given (xvfb-run),
# and ends that prefix's processes afterwards. A Wine session keeps the display it started with,
# so the prefix must not be shared with runs on other displays.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix-unit}"
source "$(dirname "$0")/wine_env.sh"
# One run at a time in the prefix: a second one waits here.
exec 9>"$WINEPREFIX.lock"
flock 9
"$(dirname "$0")/wine_prefix.sh"
wineserver -k 2>/dev/null || true
wineserver -w
code=0
"$NIMBO_WINE" "$@" || code=$?
wineserver -k 2>/dev/null || true
wineserver -w
exit $code
