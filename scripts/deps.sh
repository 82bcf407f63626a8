#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, once; quick when everything is there.
# Usage: deps.sh [fuzz]
set -euo pipefail

packages=(cmake make g++ python3 googletest libpugixml-dev
          mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
          wine wine64 xvfb xauth x11-utils imagemagick librsvg2-bin fonts-liberation fonts-dejavu-core locales e2fsprogs xdotool
          pkg-config libevent-dev libcurl4-openssl-dev nlohmann-json3-dev ca-certificates nginx wrk nsis)
if [ "${1:-}" = fuzz ]; then packages+=(clang libclang-rt-14-dev); fi
# The places data comes from the npm registry; any npm will do (the image may bring its own Node.js).
command -v npm >/dev/null || packages+=(npm)
command -v openssl >/dev/null || packages+=(openssl)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    # Never wine32: on these machines it breaks the wine launcher.
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Run as root:"
        echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Turkish locale gives Wine the Windows-1254 ANSI code page.
if ! locale -a 2>/dev/null | grep -qi '^tr_TR\.utf-\?8$'; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing the tr_TR.UTF-8 locale. Run as root: localedef -i tr_TR -f UTF-8 tr_TR.UTF-8"
        exit 1
    fi
    localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
fi
