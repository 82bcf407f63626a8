#!/usr/bin/env bash
# Makes the Wine prefix $WINEPREFIX once, as a copy of one booted prefix (build/wineprefix-base): booting a
# prefix takes a minute of CPU, copying one a few seconds, and tests side by side need a prefix each.
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
[ -f "$WINEPREFIX/.nimbo-ready" ] && exit 0
target="$WINEPREFIX"
base="$NIMBO_ROOT/build/wineprefix-base"
mkdir -p "$(dirname "$target")" "$(dirname "$base")"
exec 9>"$base.lock"
flock 9
if [ ! -f "$base/.nimbo-ready" ]; then
    echo "Creating the Wine prefix $base (once)"
    export WINEPREFIX="$base"
    rm -rf "$base"
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
    # Wine links the user's folders (Desktop, Documents...) to the home folder: shortcuts and files that the
    # programs write there must stay inside the prefix, and prefixes side by side must not share them.
    for link in "$base/drive_c/users/$(id -un)"/*; do
        if [ -L "$link" ]; then
            rm "$link"
            mkdir "$link"
        fi
    done
    touch "$base/.nimbo-ready"
fi
if [ "$target" != "$base" ] && [ ! -f "$target/.nimbo-ready" ]; then
    rm -rf "$target" "$target.partial"
    cp -a "$base" "$target.partial"
    mv "$target.partial" "$target"
fi
