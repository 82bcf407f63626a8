#!/usr/bin/env bash
# Creates the private Wine prefix once, with the face fonts mapped to installed free fonts.
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
stamp="$WINEPREFIX/.nimbo-ready"
[ -f "$stamp" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
echo "Creating the Wine prefix $WINEPREFIX (once)"
DISPLAY= "$NIMBO_WINE" wineboot -i >/dev/null 2>&1 || true
wineserver -w
# Fonts the prefix lacks, replaced by installed ones with the same metrics where there are such.
while read -r face replacement; do
    face="${face//|/ }"
    DISPLAY= "$NIMBO_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "$replacement" /f >/dev/null 2>&1
done <<'FONTS'
Arial Liberation Sans
Tahoma DejaVu Sans
Trebuchet|MS DejaVu Sans
Impact DejaVu Sans Condensed
Microsoft|Sans|Serif Liberation Sans
MS|Sans|Serif Liberation Sans
Times|New|Roman Liberation Serif
Courier|New Liberation Mono
Verdana DejaVu Sans
FONTS
wineserver -w
touch "$stamp"
