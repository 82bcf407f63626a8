# Sourced by the scripts that run Windows programs: the project's private Wine prefix and quiet Wine.
NIMBO_ROOT="${NIMBO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${WINEPREFIX:-$NIMBO_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers, no desktop menu entries for the test prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The Turkish ANSI code page (Windows-1254) for the programs, as on the systems the widget is made for.
export LC_ALL=tr_TR.UTF-8
NIMBO_WINE=/usr/lib/wine/wine64
