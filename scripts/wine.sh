#!/usr/bin/env bash
# Runs one Windows program in the project's Wine prefix and returns its exit code.
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
"$(dirname "$0")/wine_prefix.sh"
exec "$NIMBO_WINE" "$@"
