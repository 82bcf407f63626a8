#!/usr/bin/env python3
"""Checks the rendered picture set and icon: the exact file names the uninstaller removes, sizes, alpha, layout, and
the whole set's weight.

Usage: check_picture_set.py RESOURCES_DIR ICON_FILE
RESOURCES_DIR is the rendered "Contents/Resources" folder; ICON_FILE the packed application icon.
"""
import functools
import os
import struct
import sys
import unittest
import zlib

RESOURCES = ""
ICON = ""

# The files hold two pixels for each pixel of the face's layout (the sizes below, which the SVG files give).
DENSITY = 2
# The installed set stays small: it is downloaded with the setup.
MOST_BYTES = 2 * 1024 * 1024
WEATHER = (174, 149)
CELL = (61, 34)
BIG = ["Clouds", "Earth", "Few Clouds", "Flurries", "Fog", "Hail", "Haze", "Ice", "Many Clouds", "None", "Rain",
       "Showers", "Snow", "Snowy Rain", "Sun", "Thunderstorms", "Wind"]
TINY = ["Clouds", "Flurries", "Fog", "Hail", "Ice", "Moon And Clouds", "Moon And Rain", "Moon Few Clouds", "Moon Haze",
        "Moon", "Rain", "Showers", "Snow", "Snowy Rain", "Sun And Clouds", "Sun And Rain", "Sun Few Clouds", "Sun Haze",
        "Sun", "Sunny Thunderstorms", "Thunderstorms", "Wind", "None"]
COLORIZE = {"Top": (195, 10), "Mid": (195, 43), "Base": (195, 12)}
# Glass that lies over the tinted panel: faint by design.
TRANSLUCENT = {"Colorize/Top Overlay.png", "Colorize/Mid Overlay.png", "Colorize/Base Overlay.png", "UI/Grid.png",
               "UI/Reflection.png"}
UI = {"Close": (18, 18), "Less": (18, 18), "Options": (58, 18), "Grid": (191, 113), "Reflection": (181, 40)}


def expected_files():
    """Relative path -> (width, height) in layout units: the 107 pictures of the uninstaller's removal list."""
    files = {}
    for name in BIG:
        files[f"Big/{name}.png"] = WEATHER
    for name, size in COLORIZE.items():
        files[f"Colorize/{name}.png"] = size
        files[f"Colorize/{name} Overlay.png"] = size
    for index in range(28):
        files[f"Moons/{index}.png"] = WEATHER
        files[f"Tiny/Moons/{index}.png"] = CELL
    for name in TINY:
        files[f"Tiny/{name}.png"] = CELL
    for name, size in UI.items():
        files[f"UI/{name}.png"] = size
    return files


@functools.lru_cache(maxsize=None)
def read_png(path):
    """Decodes an 8-bit RGBA PNG into (width, height, rows of (r, g, b, a) tuples); raises on anything else."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    pos, header, idat = 8, None, []
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(kind + body) != crc:
            raise ValueError(f"{path}: bad CRC in {kind!r}")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        raise ValueError(f"{path}: want 8-bit RGBA without interlace, got depth {depth} colour type {colour}")
    raw = zlib.decompress(b"".join(idat))
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up, corner = previous[i], previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        previous = line
    return width, height, rows


class PictureSetTest(unittest.TestCase):
    pictures = {}

    @classmethod
    def setUpClass(cls):
        cls.pictures = {}
        for folder, _, names in os.walk(RESOURCES):
            for name in names:
                path = os.path.join(folder, name)
                cls.pictures[os.path.relpath(path, RESOURCES).replace(os.sep, "/")] = path

    def picture(self, relative):
        return read_png(self.pictures[relative])

    def test_tree_holds_exactly_the_removal_list(self):
        expected = expected_files()
        self.assertEqual(len(expected), 107)
        self.assertEqual(sorted(self.pictures), sorted(expected))

    def test_every_picture_has_its_size_and_an_alpha_channel(self):
        for relative, (width, height) in expected_files().items():
            with self.subTest(relative):
                got_width, got_height, rows = self.picture(relative)
                self.assertEqual((got_width, got_height), (width * DENSITY, height * DENSITY))
                alphas = {pixel[3] for row in rows for pixel in row}
                if relative == "Big/None.png":
                    # A clear sky: the sun, moon or Earth below must show through untouched.
                    self.assertLessEqual(max(alphas), 8)
                    continue
                if relative not in ("Colorize/Mid.png", "Colorize/Mid Overlay.png"):
                    self.assertIn(0, alphas, "no transparent pixel")
                self.assertGreater(max(alphas), 60 if relative in TRANSLUCENT else 200, "nothing is drawn")

    def test_the_set_stays_under_two_megabytes(self):
        total = sum(os.path.getsize(path) for path in self.pictures.values())
        self.assertLess(total, MOST_BYTES)

    def test_stretched_slices_are_the_same_in_every_row(self):
        # The middle slices are stretched and drawn from 97.8 % of their height; equal rows keep that invisible.
        for relative in ("Colorize/Mid.png", "Colorize/Mid Overlay.png"):
            with self.subTest(relative):
                _, _, rows = self.picture(relative)
                self.assertTrue(all(row == rows[0] for row in rows))

    def test_slices_meet_without_a_seam(self):
        # The tinted slices share one colour where they meet, so the panel reads as one piece of glass.
        _, _, top = self.picture("Colorize/Top.png")
        _, _, mid = self.picture("Colorize/Mid.png")
        _, _, base = self.picture("Colorize/Base.png")
        for x in (20 * DENSITY, 97 * DENSITY, 180 * DENSITY):
            with self.subTest(x=x):
                self.assertLessEqual(max(abs(a - b) for a, b in zip(top[-1][x], mid[0][x])), 3)
                self.assertLessEqual(max(abs(a - b) for a, b in zip(base[0][x], mid[0][x])), 3)
        # A mid grey, which the tint matrix (factor 2 x colour / 255) turns into the tint colour itself.
        r, g, b, a = mid[0][97 * DENSITY]
        self.assertTrue(120 <= r <= 136 and r == g == b and a == 255, mid[0][97 * DENSITY])

    def test_moons_are_lit_on_the_right_while_waxing_and_on_the_left_while_waning(self):
        for folder in ("Moons", "Tiny/Moons"):
            for index in list(range(3, 12)) + list(range(17, 26)):
                with self.subTest(folder=folder, index=index):
                    width, _, rows = self.picture(f"{folder}/{index}.png")
                    bright = [x for row in rows for x, (r, g, b, a) in enumerate(row) if a > 200 and r + g + b > 540]
                    self.assertTrue(bright, "no lit part")
                    disc = [x for row in rows for x, (r, g, b, a) in enumerate(row) if a > 150]
                    centre = (min(disc) + max(disc)) / 2
                    lit_side = sum(bright) / len(bright) - centre
                    if index < 14:
                        self.assertGreater(lit_side, 0, "a waxing moon is lit on the right")
                    else:
                        self.assertLess(lit_side, 0, "a waning moon is lit on the left")

    def test_new_and_full_moon(self):
        for folder in ("Moons", "Tiny/Moons"):
            lit = {}
            for index in (0, 14):
                _, _, rows = self.picture(f"{folder}/{index}.png")
                lit[index] = sum(1 for row in rows for r, g, b, a in row if a > 200 and r + g + b > 540)
            with self.subTest(folder=folder):
                self.assertLessEqual(lit[0], lit[14] // 4, "index 0 is the new moon")
                self.assertGreater(lit[14], 200 if folder == "Moons" else 50, "index 14 is the full moon")

    def test_new_moons_keep_a_faint_lit_rim_and_a_dark_middle(self):
        # A plain dark disc reads as a picture that failed to load.
        for folder in ("Moons", "Tiny/Moons"):
            for index in (0, 27):
                with self.subTest(folder=folder, index=index):
                    _, _, rows = self.picture(f"{folder}/{index}.png")
                    disc = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if p[3] > 150]
                    xs, ys = [x for x, _ in disc], [y for _, y in disc]
                    cx, cy = (min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2
                    radius = (max(xs) - min(xs)) / 2
                    rim = inside = 0
                    for x, y in disc:
                        r, g, b, a = rows[y][x]
                        distance = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                        if distance > radius - 2 * DENSITY and r + g + b > 420:
                            rim += 1
                        if distance < radius * 0.6 and r + g + b > 420:
                            inside += 1
                    self.assertGreater(rim, 2 * radius, "no lit rim")
                    self.assertEqual(inside, 0, "the middle of a new moon is lit")

    def test_big_pictures_leave_the_forecast_grid_free(self):
        # The condition picture is drawn after the cells; the grid's first row starts at y = 112, x = 36.
        for name in BIG:
            with self.subTest(name):
                _, _, rows = self.picture(f"Big/{name}.png")
                covering = [row[x][3] for row in rows[114 * DENSITY:] for x in range(36 * DENSITY, WEATHER[0] * DENSITY)
                            if row[x][3] > 40]
                self.assertEqual(covering, [])

    def test_forecast_pictures_end_above_the_temperatures(self):
        # The high and low temperatures are drawn from y = 26 down; lightning, flakes or fog there read as faults.
        for name in TINY:
            with self.subTest(name):
                _, _, rows = self.picture(f"Tiny/{name}.png")
                below = [(x, y) for y, row in enumerate(rows) if y >= 26 * DENSITY for x, p in enumerate(row) if p[3] > 24]
                self.assertEqual(below, [])


class IconTest(unittest.TestCase):
    def test_icon_holds_four_bmp_sizes_with_alpha(self):
        with open(ICON, "rb") as f:
            data = f.read()
        reserved, kind, count = struct.unpack("<HHH", data[:6])
        self.assertEqual((reserved, kind), (0, 1))
        sizes = []
        for i in range(count):
            width, height, _, _, _, _, length, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
            entry = data[offset:offset + length]
            self.assertNotEqual(entry[:4], b"\x89PNG", "Windows XP cannot read PNG icon entries")
            header_size, bmp_width, bmp_height, _, bits = struct.unpack("<IiiHH", entry[:16])
            self.assertEqual((header_size, bmp_width, bmp_height, bits), (40, width, 2 * height, 32))
            sizes.append(width)
        self.assertEqual(sorted(sizes), [16, 24, 32, 48])


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    RESOURCES, ICON = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=1)
