#!/usr/bin/env bash
# Builds everything and runs the widget under Wine from an installation-like folder (build/run/Nimbo).
# With a display, the widget runs there until it is closed; without one, it runs on Xvfb and a
# screenshot is saved to build/screenshot.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/build.sh
export WINEPREFIX="$root/build/wineprefix-run"
scripts/wine_prefix.sh
exec python3 scripts/run_widget.py
