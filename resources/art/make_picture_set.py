#!/usr/bin/env python3
"""Writes the widget's picture set as SVG files, so every picture shares one set of shapes, colours and shadows.

Usage: make_picture_set.py [--out DIR] [--check]
  --out DIR  write the SVG tree under DIR (default: this script's folder)
  --check    write nothing; exit 1 when a file under DIR differs from what this script makes
The build renders the SVG files to PNG with rsvg-convert; run this script after changing it and commit both.
"""
import argparse
import math
import os
import sys

# ---------------------------------------------------------------------------------------------------------------------
# Geometry shared with the face layout (all pixels).
WEATHER_W, WEATHER_H = 174, 149  # the big sky and condition pictures, drawn at the face's (0, 0)
CELL_W, CELL_H = 61, 34  # a forecast or moon cell
PANEL_W = 195  # the glass slices
TOP_H, MID_H, BASE_H = 10, 43, 12  # 10 + 4.0 * 43 + 12 = 194, the background's height in the large style
PANEL_X0, PANEL_X1 = 2.0, 195.0  # the glass edge inside the slices: the cells sit 4 px from either side
PANEL_TOP = 1.0  # glass edge below the top of "Top"
PANEL_BOTTOM = 9.0  # glass edge inside "Base"; the rows below hold the drop shadow
PANEL_R = 8.0
GRID_W, GRID_H = 191, 113
REFLECTION_W, REFLECTION_H = 181, 40
SKY_CX, SKY_CY, SKY_R = 62.0, 50.0, 34.0  # sun, moon and Earth in the big pictures
GREY = 128  # the tint matrix doubles channels, so 128 becomes the tint colour itself


def fmt(v):
    """Numbers with at most three decimals and no trailing zeros, so the files stay small and stable."""
    s = f"{v:.3f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def pts(points):
    return " ".join(f"{fmt(x)},{fmt(y)}" for x, y in points)


class Svg:
    """One picture: its size, shared definitions by name, and the drawing in order."""

    def __init__(self, width, height, title):
        self.width, self.height, self.title = width, height, title
        self.defs = {}
        self.body = []

    def define(self, key, markup):
        if key not in self.defs:
            self.defs[key] = markup.replace("@ID", key)
        return key

    def add(self, markup):
        self.body.append(markup)

    def text(self):
        out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.width}" height="{self.height}" '
               f'viewBox="0 0 {self.width} {self.height}">',
               f"<title>{self.title}</title>"]
        if self.defs:
            out.append("<defs>")
            out.extend(self.defs.values())
            out.append("</defs>")
        out.extend(self.body)
        out.append("</svg>")
        return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------------------------------------------------
# Shared definitions.


def linear(doc, key, x1, y1, x2, y2, stops, user_space=True):
    units = ' gradientUnits="userSpaceOnUse"' if user_space else ""
    body = "".join(f'<stop offset="{fmt(o)}" stop-color="{c}" stop-opacity="{fmt(a)}"/>' for o, c, a in stops)
    return doc.define(key, f'<linearGradient id="@ID" x1="{fmt(x1)}" y1="{fmt(y1)}" x2="{fmt(x2)}" y2="{fmt(y2)}"'
                           f"{units}>{body}</linearGradient>")


def radial(doc, key, cx, cy, r, stops, units="userSpaceOnUse"):
    body = "".join(f'<stop offset="{fmt(o)}" stop-color="{c}" stop-opacity="{fmt(a)}"/>' for o, c, a in stops)
    return doc.define(key, f'<radialGradient id="@ID" cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" '
                           f'gradientUnits="{units}">{body}</radialGradient>')


def shadow(doc, blur, dy, opacity, dx=0.0):
    """A soft drop shadow under a group: it keeps white shapes readable on a white desktop."""
    key = f"shadow-{fmt(blur)}-{fmt(dx)}-{fmt(dy)}-{fmt(opacity)}".replace(".", "_")
    return doc.define(key, f'<filter id="@ID" x="-30%" y="-30%" width="160%" height="170%" '
                           f'color-interpolation-filters="sRGB">'
                           f'<feGaussianBlur in="SourceAlpha" stdDeviation="{fmt(blur)}"/>'
                           f'<feOffset dx="{fmt(dx)}" dy="{fmt(dy)}"/>'
                           f'<feComponentTransfer><feFuncA type="linear" slope="{fmt(opacity)}"/></feComponentTransfer>'
                           f'<feMerge><feMergeNode/><feMergeNode in="SourceGraphic"/></feMerge></filter>')


def blur(doc, amount):
    key = f"blur-{fmt(amount)}".replace(".", "_")
    return doc.define(key, f'<filter id="@ID" x="-50%" y="-50%" width="200%" height="200%">'
                           f'<feGaussianBlur stdDeviation="{fmt(amount)}"/></filter>')


# ---------------------------------------------------------------------------------------------------------------------
# Weather shapes. Each takes the picture, a place and a scale, and draws in the picture's pixels.

# The cloud in its own units: a flat base and three round tops, 75 wide (13..88) and 50 high (6..56).
CLOUD_PARTS = [("rect", 13, 32, 75, 24, 12), ("circle", 33, 35, 17), ("circle", 55, 29, 23), ("circle", 76, 40, 13)]
CLOUD_TONES = {
    "white": [(0, "#ffffff", 1), (0.55, "#f4f7fb", 1), (1, "#d3dce7", 1)],
    "grey": [(0, "#eef1f5", 1), (0.5, "#d2d9e1", 1), (1, "#a7b2bf", 1)],
    "dark": [(0, "#a9b3c0", 1), (0.5, "#8390a0", 1), (1, "#5c6878", 1)],
    "ice": [(0, "#ffffff", 1), (0.5, "#e3f3ff", 1), (1, "#a9d3f2", 1)],
}


def cloud(doc, x, y, scale, tone="white", opacity=1.0, outline=None):
    """A cloud whose box (its own 13..88 by 6..56) has its top-left corner at (x, y); `outline` rings it for icons."""
    grad = linear(doc, f"cloud-{tone}", 0, 6, 0, 56, CLOUD_TONES[tone])
    rim = linear(doc, "cloud-rim", 0, 6, 0, 40, [(0, "#ffffff", 0.9), (1, "#ffffff", 0)])
    filt = shadow(doc, 1.6 / scale if scale > 0.6 else 0.9 / scale, 1.4 / scale if scale > 0.6 else 0.6 / scale,
                  0.45 if tone != "dark" else 0.5)
    shapes = []
    for part in CLOUD_PARTS:
        if part[0] == "rect":
            _, rx, ry, rw, rh, rr = part
            shapes.append(f'<rect x="{rx}" y="{ry}" width="{rw}" height="{rh}" rx="{rr}"/>')
        else:
            _, cx, cy, r = part
            shapes.append(f'<circle cx="{cx}" cy="{cy}" r="{r}"/>')
    # A thin light rim along the upper bumps gives the cloud some volume without an outline.
    highlight = (f'<path d="M 22,31 A 17,17 0 0 1 38.5,18.9 A 23,23 0 0 1 76.5,30 A 13,13 0 0 1 86,34" fill="none" '
                 f'stroke="url(#{rim})" stroke-width="1.2" stroke-linecap="round" opacity="0.8"/>'
                 if tone in ("grey", "dark") else "")
    op = f' opacity="{fmt(opacity)}"' if opacity < 1 else ""
    ring = (f'<g fill="none" stroke="{outline}" stroke-width="{fmt(2.2 / scale)}">{"".join(shapes)}</g>'
            if outline else "")
    doc.add(f'<g transform="translate({fmt(x - 13 * scale)},{fmt(y - 6 * scale)}) scale({fmt(scale)})"{op}>'
            f'<g filter="url(#{filt})">{ring}<g fill="url(#{grad})">{"".join(shapes)}</g></g>{highlight}</g>')


def sun(doc, cx, cy, r, rays=False, glow=True):
    disc = radial(doc, f"sun-disc-{fmt(r)}".replace(".", "_"), cx - r * 0.3, cy - r * 0.35, r * 1.35,
                  [(0, "#fff3b0", 1), (0.45, "#ffd54a", 1), (0.85, "#ffae1f", 1), (1, "#ff9b14", 1)])
    if glow:
        halo = radial(doc, f"sun-glow-{fmt(r)}".replace(".", "_"), cx, cy, r * 1.5,
                      [(0, "#ffd75e", 0.6), (0.66, "#ffc640", 0.25), (1, "#ffb830", 0)])
        doc.add(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 1.5)}" fill="url(#{halo})"/>')
    if rays:
        ray = []
        for i in range(8):
            a = math.radians(i * 45 + 22.5)
            ray.append(f"M {fmt(cx + math.cos(a) * r * 1.3)},{fmt(cy + math.sin(a) * r * 1.3)} "
                       f"L {fmt(cx + math.cos(a) * r * 1.7)},{fmt(cy + math.sin(a) * r * 1.7)}")
        doc.add(f'<path d="{" ".join(ray)}" stroke="#ffb326" stroke-width="{fmt(max(1.2, r * 0.2))}" '
                f'stroke-linecap="round" fill="none"/>')
    filt = shadow(doc, max(0.6, r * 0.06), max(0.4, r * 0.03), 0.35)
    rim = "#e8890c"
    doc.add(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="url(#{disc})" filter="url(#{filt})"/>'
            f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r - 0.4)}" fill="none" stroke="{rim}" '
            f'stroke-opacity="0.45" stroke-width="0.8"/>')


def crescent(doc, cx, cy, r):
    """The forecast pictures' moon: a pale crescent, lit on the left so a cloud to its right hides only its hollow."""
    body = radial(doc, f"crescent-{fmt(r)}".replace(".", "_"), cx - r * 0.4, cy - r * 0.4, r * 1.6,
                  [(0, "#fffbea", 1), (0.6, "#f6e8b4", 1), (1, "#d9c17a", 1)])
    halo = radial(doc, f"crescent-glow-{fmt(r)}".replace(".", "_"), cx, cy, r * 1.6,
                  [(0, "#fff4c8", 0.35), (1, "#fff4c8", 0)])
    filt = shadow(doc, max(0.6, r * 0.07), max(0.4, r * 0.04), 0.4)
    # Outer circle minus an offset inner circle, traced as one path.
    ox, oy, orr = cx + r * 0.45, cy - r * 0.22, r * 0.88
    d = f"M {fmt(cx)},{fmt(cy - r)} A {fmt(r)},{fmt(r)} 0 1 0 {fmt(cx)},{fmt(cy + r)} " \
        f"A {fmt(r)},{fmt(r)} 0 0 0 {fmt(cx)},{fmt(cy - r)} Z"
    mask_key = f"crescent-cut-{fmt(cx)}-{fmt(cy)}-{fmt(r)}".replace(".", "_")
    doc.define(mask_key, f'<mask id="@ID" maskUnits="userSpaceOnUse" x="0" y="0" width="{doc.width}" '
                         f'height="{doc.height}"><rect width="{doc.width}" height="{doc.height}" fill="#fff"/>'
                         f'<circle cx="{fmt(ox)}" cy="{fmt(oy)}" r="{fmt(orr)}" fill="#000"/></mask>')
    doc.add(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 1.6)}" fill="url(#{halo})"/>'
            f'<g filter="url(#{filt})"><path d="{d}" fill="url(#{body})" mask="url(#{mask_key})"/></g>')


def drops(doc, places, size, tone="rain"):
    """Rain drops: slanted tear shapes, `size` being their height in pixels."""
    grad = linear(doc, f"drop-{tone}", 0, 0, 0, 1,
                  [(0, "#9fd6ff", 1), (1, "#2f86e0", 1)] if tone == "rain" else [(0, "#c3e6ff", 1), (1, "#5aa6e6", 1)],
                  user_space=False)
    filt = shadow(doc, max(0.4, size * 0.05), max(0.3, size * 0.04), 0.35)
    s = size / 12.0
    parts = []
    for x, y in places:
        # Local tear: tip at (0, -6), bowl of radius 3.2 around (0, 3).
        parts.append(f'<path transform="translate({fmt(x)},{fmt(y)}) rotate(18) scale({fmt(s)})" '
                     f'd="M 0,-6.5 C 1.2,-3.8 3.4,-1.2 3.4,2 A 3.4,3.4 0 0 1 -3.4,2 C -3.4,-1.2 -1.2,-3.8 0,-6.5 Z"/>')
    doc.add(f'<g fill="url(#{grad})" filter="url(#{filt})">{"".join(parts)}</g>')


def streaks(doc, places, length, width):
    """Shower streaks: short slanted strokes."""
    filt = shadow(doc, max(0.4, width * 0.4), max(0.3, width * 0.3), 0.35)
    dx, dy = -length * math.sin(math.radians(18)), length * math.cos(math.radians(18))
    d = " ".join(f"M {fmt(x)},{fmt(y)} l {fmt(dx)},{fmt(dy)}" for x, y in places)
    doc.add(f'<g filter="url(#{filt})"><path d="{d}" stroke="#58aef5" stroke-width="{fmt(width)}" '
            f'stroke-linecap="round" fill="none"/></g>')


def snowflake_path(cx, cy, r, branches=True):
    d = []
    for i in range(6):
        a = math.radians(i * 60 - 90)
        ex, ey = cx + math.cos(a) * r, cy + math.sin(a) * r
        d.append(f"M {fmt(cx)},{fmt(cy)} L {fmt(ex)},{fmt(ey)}")
        if branches:
            bx, by = cx + math.cos(a) * r * 0.55, cy + math.sin(a) * r * 0.55
            for side in (-1, 1):
                b = a + side * math.radians(50)
                d.append(f"M {fmt(bx)},{fmt(by)} L {fmt(bx + math.cos(b) * r * 0.38)},"
                         f"{fmt(by + math.sin(b) * r * 0.38)}")
    return " ".join(d)


def snowflakes(doc, places, r, width):
    """Snowflakes: white six-armed stars on a darker line, readable on light and dark glass."""
    d = " ".join(snowflake_path(x, y, r, branches=r >= 4) for x, y in places)
    doc.add(f'<g fill="none" stroke-linecap="round" stroke-linejoin="round">'
            f'<path d="{d}" stroke="#4f7fae" stroke-opacity="0.75" stroke-width="{fmt(width + 1.4)}"/>'
            f'<path d="{d}" stroke="#ffffff" stroke-width="{fmt(width)}"/></g>')


def hailstones(doc, places, r):
    grad = radial(doc, "hail", 0.35, 0.3, 0.8, [(0, "#ffffff", 1), (0.6, "#e2f0fb", 1), (1, "#9cc2e2", 1)],
                  units="objectBoundingBox")
    filt = shadow(doc, max(0.4, r * 0.25), max(0.3, r * 0.2), 0.45)
    c = "".join(f'<circle cx="{fmt(x)}" cy="{fmt(y)}" r="{fmt(r)}"/>' for x, y in places)
    doc.add(f'<g fill="url(#{grad})" stroke="#6f98bf" stroke-width="{fmt(max(0.5, r * 0.14))}" '
            f'filter="url(#{filt})">{c}</g>')


def bolt(doc, x, y, scale):
    """A lightning bolt whose local box is 0..20 wide and 0..36 high, top-left at (x, y)."""
    grad = linear(doc, "bolt", 0, 0, 0, 36, [(0, "#fff27a", 1), (0.5, "#ffd028", 1), (1, "#ff9f10", 1)])
    filt = shadow(doc, 1.0 / scale if scale > 0.5 else 0.5 / scale, 0.8 / scale if scale > 0.5 else 0.4 / scale, 0.5)
    doc.add(f'<g transform="translate({fmt(x)},{fmt(y)}) scale({fmt(scale)})" filter="url(#{filt})">'
            f'<path d="M 9,0 L 20,0 L 13,13 L 20,13 L 4,36 L 8,19 L 1,19 Z" fill="url(#{grad})" '
            f'stroke="#d9780a" stroke-width="{fmt(1.0 / scale if scale > 0.5 else 0.7 / scale)}" '
            f'stroke-linejoin="round"/></g>')


def bars(doc, rows, width, colour="#ffffff", opacity=0.9, outline=0.35):
    """Fog and haze: rounded horizontal bars, each (x, y, length)."""
    d = " ".join(f"M {fmt(x)},{fmt(y)} h {fmt(length)}" for x, y, length in rows)
    doc.add(f'<g fill="none" stroke-linecap="round">'
            f'<path d="{d}" stroke="#5d6b7c" stroke-opacity="{fmt(outline)}" stroke-width="{fmt(width + 1.4)}"/>'
            f'<path d="{d}" stroke="{colour}" stroke-opacity="{fmt(opacity)}" stroke-width="{fmt(width)}"/></g>')


def wind_lines(doc, x, y, scale):
    """Three flowing gusts ending in curls; local box 0..110 by 0..64, top-left at (x, y)."""
    d = ("M 0,22 H 62 A 11,11 0 1 0 51,11 "
         "M 0,40 H 86 A 12,12 0 1 1 74,52 "
         "M 14,58 H 46 A 6,6 0 1 1 40,64")
    w = 6.0 if scale > 0.5 else 9.0
    doc.add(f'<g transform="translate({fmt(x)},{fmt(y)}) scale({fmt(scale)})" fill="none" stroke-linecap="round">'
            f'<path d="{d}" stroke="#4d6a86" stroke-opacity="0.55" stroke-width="{fmt(w + 2.2)}"/>'
            f'<path d="{d}" stroke="#eef6ff" stroke-width="{fmt(w)}"/></g>')


def ice_crystal(doc, cx, cy, r, width):
    """Frost: a large ice crystal with frozen blue lines and a cold glow."""
    glow = radial(doc, f"ice-glow-{fmt(r)}".replace(".", "_"), cx, cy, r * 1.25,
                  [(0, "#d6f0ff", 0.55), (0.7, "#bfe4ff", 0.18), (1, "#bfe4ff", 0)])
    doc.add(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 1.25)}" fill="url(#{glow})"/>')
    d = snowflake_path(cx, cy, r, branches=True)
    tips = []
    for i in range(6):
        a = math.radians(i * 60 - 90)
        tips.append((cx + math.cos(a) * r, cy + math.sin(a) * r))
    hexagon = pts([(cx + math.cos(math.radians(i * 60 - 60)) * r * 0.22,
                    cy + math.sin(math.radians(i * 60 - 60)) * r * 0.22) for i in range(6)])
    filt = shadow(doc, max(0.5, width * 0.35), max(0.3, width * 0.25), 0.4)
    dots = "".join(f'<circle cx="{fmt(tx)}" cy="{fmt(ty)}" r="{fmt(width * 0.9)}"/>' for tx, ty in tips)
    doc.add(f'<g filter="url(#{filt})" stroke-linecap="round" stroke-linejoin="round">'
            f'<path d="{d}" fill="none" stroke="#2f6fa8" stroke-width="{fmt(width + 2)}"/>'
            f'<path d="{d}" fill="none" stroke="#e9f7ff" stroke-width="{fmt(width)}"/>'
            f'<polygon points="{hexagon}" fill="#e9f7ff" stroke="#2f6fa8" stroke-width="{fmt(width * 0.6)}"/>'
            f'<g fill="#e9f7ff" stroke="#2f6fa8" stroke-width="{fmt(width * 0.5)}">{dots}</g></g>')


# ---------------------------------------------------------------------------------------------------------------------
# The moon in its phases, and the Earth.


def moon_lit_path(cx, cy, r, index):
    """The lit part of the disc for moon index 0..27 (0 new, 14 full), seen from the northern hemisphere."""
    f = index / 28.0
    if index == 0:
        return ""
    if index == 14:
        return f"M {fmt(cx)},{fmt(cy - r)} A {fmt(r)},{fmt(r)} 0 1 1 {fmt(cx)},{fmt(cy + r)} " \
               f"A {fmt(r)},{fmt(r)} 0 1 1 {fmt(cx)},{fmt(cy - r)} Z"
    c = math.cos(2 * math.pi * f)
    rx = abs(c) * r
    top, bottom = f"{fmt(cx)},{fmt(cy - r)}", f"{fmt(cx)},{fmt(cy + r)}"
    if f < 0.5:  # waxing: the right side is lit
        limb = f"A {fmt(r)},{fmt(r)} 0 0 1 {bottom}"
        sweep = 0 if c > 0 else 1
    else:  # waning: the left side is lit
        limb = f"A {fmt(r)},{fmt(r)} 0 0 0 {bottom}"
        sweep = 1 if c > 0 else 0
    return f"M {top} {limb} A {fmt(rx)},{fmt(r)} 0 0 {sweep} {top} Z"


# Maria and craters in units of the radius, from the disc's centre (near side as seen from the north).
MARIA = [(-0.28, -0.38, 0.30, 0.22), (0.12, -0.36, 0.17, 0.15), (0.30, -0.08, 0.21, 0.18), (0.50, 0.16, 0.15, 0.19),
         (0.62, -0.34, 0.11, 0.09), (-0.55, 0.02, 0.25, 0.42), (-0.16, 0.34, 0.17, 0.14), (0.10, 0.10, 0.10, 0.09),
         (-0.38, 0.55, 0.12, 0.08)]
CRATERS = [(-0.12, 0.72, 0.06), (0.35, 0.48, 0.05), (-0.62, -0.48, 0.05), (0.70, 0.28, 0.04), (-0.02, -0.72, 0.05),
           (0.18, 0.78, 0.04), (-0.70, 0.40, 0.04)]


def moon(doc, cx, cy, r, index, detail=True):
    """One phase of the moon with its surface, a soft terminator, and the unlit side faintly in earthshine."""
    key = f"{fmt(cx)}-{fmt(cy)}-{fmt(r)}".replace(".", "_")
    lit = moon_lit_path(cx, cy, r, index)
    fraction = (1 - math.cos(2 * math.pi * index / 28.0)) / 2
    if fraction > 0.02:
        halo = radial(doc, f"moon-glow-{key}", cx, cy, r * 1.55,
                      [(0, "#e8f0ff", 0.0), (0.62, "#dfe9ff", 0.30 * fraction + 0.05), (1, "#dfe9ff", 0)])
        doc.add(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 1.55)}" fill="url(#{halo})"/>')
    dark = radial(doc, f"moon-dark-{key}", cx - r * 0.3, cy - r * 0.3, r * 1.4,
                  [(0, "#5d6b80", 1), (1, "#2c3546", 1)])
    filt = shadow(doc, max(0.6, r * 0.05), max(0.4, r * 0.03), 0.45)
    doc.add(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="url(#{dark})" fill-opacity="0.72" '
            f'filter="url(#{filt})"/>')
    if lit:
        surface = radial(doc, f"moon-surface-{key}", cx - r * 0.25, cy - r * 0.3, r * 1.3,
                         [(0, "#fffdf5", 1), (0.55, "#efeadb", 1), (1, "#c9c2b0", 1)])
        soft = blur(doc, max(0.35, r * 0.022))
        doc.define(f"moon-lit-{key}-{index}",
                   f'<mask id="@ID" maskUnits="userSpaceOnUse" x="{fmt(cx - r - 4)}" y="{fmt(cy - r - 4)}" '
                   f'width="{fmt(2 * r + 8)}" height="{fmt(2 * r + 8)}">'
                   f'<path d="{lit}" fill="#fff" filter="url(#{soft})"/></mask>')
        clip = doc.define(f"moon-disc-{key}", f'<clipPath id="@ID"><circle cx="{fmt(cx)}" cy="{fmt(cy)}" '
                                              f'r="{fmt(r)}"/></clipPath>')
        spots = []
        if detail:
            mare = blur(doc, max(0.4, r * 0.035))
            for mx, my, ax, ay in MARIA:
                spots.append(f'<ellipse cx="{fmt(cx + mx * r)}" cy="{fmt(cy + my * r)}" rx="{fmt(ax * r)}" '
                             f'ry="{fmt(ay * r)}" fill="#8f8d8a" fill-opacity="0.38" filter="url(#{mare})"/>')
            for kx, ky, kr in CRATERS:
                spots.append(f'<circle cx="{fmt(cx + kx * r)}" cy="{fmt(cy + ky * r)}" r="{fmt(kr * r)}" '
                             f'fill="#a9a397" fill-opacity="0.45" stroke="#ffffff" stroke-opacity="0.55" '
                             f'stroke-width="{fmt(max(0.4, r * 0.015))}"/>')
        else:
            for mx, my, ax, ay in MARIA[:6]:
                spots.append(f'<ellipse cx="{fmt(cx + mx * r)}" cy="{fmt(cy + my * r)}" rx="{fmt(ax * r)}" '
                             f'ry="{fmt(ay * r)}" fill="#9a968f" fill-opacity="0.35"/>')
        limb = radial(doc, f"moon-limb-{key}", cx, cy, r,
                      [(0, "#000000", 0), (0.8, "#000000", 0), (1, "#5a5040", 0.28)])
        doc.add(f'<g clip-path="url(#{clip})" mask="url(#moon-lit-{key}-{index})">'
                f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="url(#{surface})"/>{"".join(spots)}'
                f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="url(#{limb})"/></g>')
    doc.add(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r - 0.35)}" fill="none" stroke="#ffffff" '
            f'stroke-opacity="{fmt(0.28 if index else 0.4)}" stroke-width="0.7"/>')
    if index in (0, 27):
        # A dark disc alone reads as a missing picture: the new moon keeps a faint lit rim.
        width = max(1.1, r * 0.045)
        doc.add(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r - width / 2)}" fill="none" stroke="#f4efe0" '
                f'stroke-opacity="0.5" stroke-width="{fmt(width)}"/>')


# Rough coastlines (longitude, latitude), enough for a globe of 70 pixels.
AFRICA = [(-6, 36), (10, 37), (11, 35), (20, 32), (25, 31.5), (32.3, 31.2), (32.6, 29.8), (35, 24), (38, 18),
          (43, 12.5), (51, 11.8), (51, 10), (48, 5), (42, -1), (40, -5), (39, -10), (40.5, -15), (35, -24),
          (32.5, -28), (30, -31), (25, -34), (20, -34.8), (18, -33), (15, -27), (12, -18), (13, -12), (12, -6),
          (9, -1), (9.5, 4), (5, 6), (0, 5.5), (-5, 5), (-8, 4.5), (-12, 7.5), (-16, 12), (-17, 15), (-16, 20),
          (-14, 26), (-10, 29), (-9.5, 32), (-6, 36)]
EURASIA = [(32.6, 29.8), (35, 28), (39, 21), (43, 13), (45, 12.8), (52, 16), (57, 19), (59.5, 22.5), (56.5, 24.5),
           (56, 26.5), (51.5, 24), (48, 29.5), (50, 30), (56, 27), (57.5, 25.6), (62, 25), (67, 24.5), (70, 21),
           (73, 16), (77, 8), (80, 10), (80, 15.5), (87, 21.5), (90, 22), (92, 21), (94, 16), (97.5, 16.5),
           (98.5, 10), (100.5, 13.5), (101, 3), (104, 1.5), (103.5, 10), (105, 9), (109, 12), (108, 21.5),
           (117, 23), (122, 30), (121, 37), (125, 40), (130, 43), (140, 48), (142, 60), (160, 62), (180, 66),
           (180, 72), (140, 73), (110, 76.5), (100, 78), (80, 73), (70, 73), (60, 69), (50, 68), (43, 66.5),
           (40, 64.5), (35, 66), (33, 69), (28, 71), (20, 70), (15, 68), (10, 63.5), (5, 62), (5.5, 58.5),
           (8, 58), (10.5, 59.2), (11.5, 58), (12.6, 56), (14, 55.5), (16, 56.5), (18.5, 59.5), (17.5, 62.5),
           (21.5, 65.5), (25.5, 65), (21.5, 62.5), (21.5, 60.5), (23, 60), (30, 60), (28, 59.4), (24, 58.5),
           (21.5, 57), (21, 55.5), (14, 54), (11, 54), (10.5, 55.5), (8.5, 57), (8.5, 54), (5, 53.3), (3, 51.2),
           (1.5, 50.5), (-1.5, 49.7), (-4.7, 48.5), (-1.2, 46), (-1.7, 43.4), (-9, 43), (-9, 37), (-6, 36),
           (-2, 36.7), (0, 38.8), (3, 42), (4, 43.5), (7, 43.6), (9, 44.4), (10.3, 44), (12, 42), (15.6, 40),
           (16, 38), (17, 39), (18.4, 40.2), (16, 41.5), (13.6, 43.6), (12.3, 45.3), (13.6, 45.7), (15, 45),
           (19, 42), (20, 40), (21.5, 37), (23, 36.6), (24, 38), (23, 40), (24, 40.8), (26, 40.9), (28.9, 41.2),
           (26.5, 40.2), (26.2, 39.5), (27.2, 37.5), (28, 36.7), (30.5, 36.3), (32.5, 36.1), (36, 36.8),
           (36, 35.5), (35, 33), (34.3, 31.3), (32.6, 29.8)]
BRITAIN = [(-5.5, 50), (-3, 50.6), (1.3, 51.1), (1.7, 52.7), (0, 53.5), (-1.2, 55), (-2, 56.5), (-1.8, 57.6),
           (-4, 58.6), (-5.2, 58.5), (-6.2, 57), (-5.5, 55.5), (-3.2, 54.8), (-3.2, 53.3), (-4.6, 52.8),
           (-5.2, 51.7), (-3.1, 51.4), (-5.5, 50)]
IRELAND = [(-6, 52.2), (-6, 54), (-7.5, 55.2), (-10, 54.2), (-10.2, 51.6), (-6, 52.2)]
ICELAND = [(-22.5, 64), (-18, 63.4), (-13.6, 65), (-15, 66.4), (-22, 66.4), (-24, 65.5), (-22.5, 64)]
MADAGASCAR = [(44, -25), (47, -25), (50.4, -15.5), (49.3, -12), (44.2, -16.5), (43.3, -22), (44, -25)]
BLACK_SEA = [(28, 41.3), (28, 43.5), (30, 46), (33, 46), (33.5, 44.5), (36.5, 45.3), (39, 47), (38.5, 45.5),
             (37.5, 44.7), (41.5, 41.5), (36, 41.7), (33, 42), (31, 41.2), (28, 41.3)]
CASPIAN = [(47, 45), (49.5, 46.5), (53, 46.8), (53, 45), (51, 44.5), (53, 42), (53.5, 40), (53, 37.3), (50, 37),
           (49, 38.5), (49.5, 40.5), (48, 42), (47.5, 43.5), (47, 45)]
MEDITERRANEAN_ISLANDS = [[(8.5, 39), (9.8, 39.1), (9.6, 41), (8.2, 41), (8.5, 39)],
                         [(12.4, 38), (15.6, 38.3), (15.1, 36.7), (12.4, 38)]]


def project(lon, lat, lon0, lat0):
    """Orthographic projection; a point behind the globe is pulled onto its edge, which clips the shapes."""
    lam, phi = math.radians(lon - lon0), math.radians(lat)
    phi0 = math.radians(lat0)
    x = math.cos(phi) * math.sin(lam)
    y = math.cos(phi0) * math.sin(phi) - math.sin(phi0) * math.cos(phi) * math.cos(lam)
    visible = math.sin(phi0) * math.sin(phi) + math.cos(phi0) * math.cos(phi) * math.cos(lam)
    if visible < 0:
        n = math.hypot(x, y) or 1.0
        x, y = x / n, y / n
    return x, -y


def earth(doc, cx, cy, r, lon0=28.0, lat0=24.0):
    ocean = radial(doc, f"earth-ocean-{fmt(r)}".replace(".", "_"), cx - r * 0.35, cy - r * 0.4, r * 1.45,
                   [(0, "#6cc3ff", 1), (0.45, "#2a86dc", 1), (1, "#0d3d86", 1)])
    land = radial(doc, f"earth-land-{fmt(r)}".replace(".", "_"), cx - r * 0.35, cy - r * 0.4, r * 1.45,
                  [(0, "#a6dc7e", 1), (0.5, "#5faa4e", 1), (1, "#2f6b35", 1)])
    desert = radial(doc, f"earth-desert-{fmt(r)}".replace(".", "_"), cx - r * 0.35, cy - r * 0.4, r * 1.45,
                    [(0, "#f1dca0", 1), (0.5, "#d8b56c", 1), (1, "#8f7140", 1)])
    shade = radial(doc, f"earth-shade-{fmt(r)}".replace(".", "_"), cx - r * 0.3, cy - r * 0.35, r * 1.5,
                   [(0, "#ffffff", 0.25), (0.35, "#ffffff", 0), (0.75, "#001030", 0.15), (1, "#001030", 0.5)])
    atmosphere = radial(doc, f"earth-air-{fmt(r)}".replace(".", "_"), cx, cy, r * 1.22,
                        [(0, "#7fc8ff", 0), (0.8, "#7fc8ff", 0), (0.83, "#8fd0ff", 0.5), (1, "#8fd0ff", 0)])
    clip = doc.define(f"earth-disc-{fmt(r)}".replace(".", "_"),
                      f'<clipPath id="@ID"><circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}"/></clipPath>')

    def shape(coords):
        return "M " + " L ".join(
            f"{fmt(cx + x * r)},{fmt(cy + y * r)}" for x, y in (project(lon, lat, lon0, lat0) for lon, lat in coords)
        ) + " Z"

    lands = " ".join(shape(c) for c in [AFRICA, EURASIA, BRITAIN, IRELAND, ICELAND, MADAGASCAR,
                                         *MEDITERRANEAN_ISLANDS])
    # The great deserts as one band: Sahara and Arabia.
    sahara = shape([(-15, 27), (-5, 31), (10, 31), (25, 30), (33, 28), (38, 28), (47, 29), (55, 22), (50, 17),
                    (40, 20), (33, 20), (25, 17), (15, 16), (5, 17), (-5, 18), (-15, 20), (-15, 27)])
    seas = " ".join(shape(c) for c in [BLACK_SEA, CASPIAN])
    filt = shadow(doc, max(0.6, r * 0.05), max(0.4, r * 0.03), 0.45)
    soft = blur(doc, max(0.4, r * 0.03))
    land_clip = doc.define(f"earth-lands-{fmt(r)}".replace(".", "_"),
                           f'<clipPath id="@ID"><path d="{lands}"/></clipPath>')
    doc.add(f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r * 1.22)}" fill="url(#{atmosphere})"/>'
            f'<g filter="url(#{filt})"><circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="url(#{ocean})"/></g>'
            f'<g clip-path="url(#{clip})">'
            f'<path d="{lands}" fill="url(#{land})" stroke="#2b6a3a" stroke-opacity="0.5" '
            f'stroke-width="{fmt(max(0.4, r * 0.012))}" stroke-linejoin="round"/>'
            f'<g clip-path="url(#{land_clip})"><path d="{sahara}" fill="url(#{desert})" fill-opacity="0.85" '
            f'filter="url(#{soft})"/></g>'
            f'<path d="{seas}" fill="url(#{ocean})"/>'
            f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" fill="url(#{shade})"/></g>'
            f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r - 0.4)}" fill="none" stroke="#bfe6ff" '
            f'stroke-opacity="0.6" stroke-width="0.8"/>')


# ---------------------------------------------------------------------------------------------------------------------
# The big pictures: 174 x 149, drawn at the face's (0, 0). The sky body sits over the glass's top-left corner, the
# weather in front of it; nothing reaches below y = 112, where the forecast grid begins.


def big(title):
    return Svg(WEATHER_W, WEATHER_H, title)


def big_sky(name):
    doc = big(name)
    if name == "Sun":
        sun(doc, SKY_CX, SKY_CY, SKY_R * 0.94)
    elif name == "Earth":
        earth(doc, SKY_CX, SKY_CY, SKY_R * 0.97)
    return doc


def big_moon(index):
    doc = big(f"Moon, day {index} of its age")
    moon(doc, SKY_CX, SKY_CY, SKY_R * 0.92, index)
    return doc


# Precipitation under the big rain cloud (its box is x 36..138, y 16..84): two staggered rows.
BIG_ROW1 = [(54, 94), (76, 92), (98, 94), (120, 92)]
BIG_ROW2 = [(65, 106), (87, 104), (109, 106)]


def big_condition(name):
    doc = big(name)
    if name == "Few Clouds":
        cloud(doc, 62, 52, 0.88, "white")
    elif name == "Clouds":
        cloud(doc, 86, 34, 0.62, "grey")
        cloud(doc, 40, 48, 1.2, "white")
    elif name == "Many Clouds":
        cloud(doc, 24, 20, 1.3, "grey")
        cloud(doc, 58, 50, 1.18, "white")
    elif name in ("Rain", "Showers", "Thunderstorms", "Hail", "Snow", "Flurries", "Snowy Rain"):
        tone = {"Rain": "dark", "Thunderstorms": "dark", "Showers": "grey", "Hail": "grey", "Snow": "grey",
                "Flurries": "white", "Snowy Rain": "grey"}[name]
        if name == "Rain":
            drops(doc, BIG_ROW1 + BIG_ROW2, 13)
        elif name == "Thunderstorms":
            drops(doc, [BIG_ROW1[0], BIG_ROW1[3], BIG_ROW2[0], BIG_ROW2[2]], 12)
        elif name == "Showers":
            streaks(doc, [(x + 3, y - 6) for x, y in BIG_ROW1 + BIG_ROW2], 10, 3.2)
        elif name == "Hail":
            hailstones(doc, BIG_ROW1 + BIG_ROW2, 4.2)
        elif name == "Snow":
            snowflakes(doc, BIG_ROW1 + BIG_ROW2, 6.2, 2.0)
        elif name == "Flurries":
            snowflakes(doc, [BIG_ROW1[1], BIG_ROW2[2], BIG_ROW1[3]], 5.6, 1.9)
            bars(doc, [(44, 100, 22), (70, 108, 16)], 2.4, opacity=0.85, outline=0.3)
        elif name == "Snowy Rain":
            drops(doc, [BIG_ROW1[0], BIG_ROW1[2], BIG_ROW2[1]], 12)
            snowflakes(doc, [BIG_ROW1[1], BIG_ROW1[3], BIG_ROW2[0], BIG_ROW2[2]], 5.4, 1.8)
        # The cloud comes last so the precipitation starts behind it.
        cloud(doc, 36, 16, 1.36, tone)
        if name == "Thunderstorms":
            bolt(doc, 78, 58, 1.05)
    elif name == "Fog":
        cloud(doc, 40, 20, 1.2, "grey", opacity=0.9)
        bars(doc, [(30, 74, 100), (46, 86, 96), (24, 98, 86), (56, 110, 60)], 6.0, colour="#eef2f6", opacity=0.95,
             outline=0.35)
    elif name == "Haze":
        bars(doc, [(30, 66, 74), (22, 78, 96), (38, 90, 80), (52, 102, 48)], 4.5, colour="#fff7e6", opacity=0.75,
             outline=0.25)
    elif name == "Wind":
        wind_lines(doc, 22, 22, 1.05)
    elif name == "Ice":
        ice_crystal(doc, SKY_CX + 8, SKY_CY + 6, 40, 3.4)
    return doc


# ---------------------------------------------------------------------------------------------------------------------
# The forecast pictures: 61 x 34 at a cell's top-left. The two temperatures cover the bottom corners, so the weather
# keeps to the middle and the top.


# The temperatures start this far down a cell; a small picture draws nothing below it.
TINY_FLOOR = 26


def tiny(name):
    doc = tiny_drawing(name)
    if name != "None":
        # Drawn for the whole cell, then shrunk towards its top middle so it ends above the numbers.
        scale = (TINY_FLOOR - 1) / CELL_H
        doc.body = [f'<g transform="translate({fmt(CELL_W / 2)} 0) scale({fmt(scale)}) '
                    f'translate({fmt(-CELL_W / 2)} 0)">'] + doc.body + ["</g>"]
    return doc


def tiny_drawing(name):
    doc = Svg(CELL_W, CELL_H, name)
    if name == "None":
        # "Not available": a quiet dash, neither weather nor a missing picture.
        bars(doc, [(CELL_W / 2 - 8, 12.5, 16)], 2.6, colour="#d5dce6", opacity=0.85, outline=0.35)
        return doc
    cx = CELL_W / 2
    body = name.replace("Sun ", "").replace("Moon ", "").replace("Sunny ", "")
    has_sun = name.startswith("Sun")
    has_moon = name.startswith("Moon")
    if name in ("Sun", "Moon"):
        if has_sun:
            sun(doc, cx, 13.5, 7.6, rays=True, glow=False)
        else:
            crescent(doc, cx + 3, 13.5, 10.5)
        return doc
    if name in ("Sun Haze", "Moon Haze"):
        if has_sun:
            sun(doc, cx, 11.5, 7.2, rays=True, glow=False)
        else:
            crescent(doc, cx + 3, 11.5, 9.5)
        bars(doc, [(cx - 12, 17, 22), (cx - 16, 22, 28), (cx - 8, 27, 16)], 2.2, colour="#fff7e6", opacity=0.9,
             outline=0.4)
        return doc
    # Sky behind the cloud.
    if has_sun:
        sun(doc, cx - 8, 9.5, 6.4 if body != "Few Clouds" else 7.2, rays=body == "Few Clouds", glow=False)
    elif has_moon:
        crescent(doc, cx - 6, 10, 8.5)
    if body == "Few Clouds":
        cloud(doc, cx - 3, 12, 0.32, "white")
    elif body == "And Clouds":
        cloud(doc, cx - 15, 7, 0.4, "white")
    elif body == "Clouds":
        cloud(doc, cx - 8, 1, 0.3, "grey")
        cloud(doc, cx - 18, 7, 0.4, "white")
    elif body == "Fog":
        cloud(doc, cx - 12, 1, 0.32, "grey")
        bars(doc, [(cx - 13, 17, 26), (cx - 16, 22, 28), (cx - 9, 27, 18)], 2.4, colour="#eef2f6", opacity=0.95,
             outline=0.45)
    elif body == "Wind":
        wind_lines(doc, cx - 17, 3, 0.31)
    elif body == "Ice":
        ice_crystal(doc, cx, 13.5, 11.5, 1.6)
    else:
        tone = {"Rain": "dark", "And Rain": "grey", "Showers": "grey", "Thunderstorms": "dark", "Hail": "grey",
                "Snow": "grey", "Flurries": "white", "Snowy Rain": "grey"}[body]
        top = 1 if not (has_sun or has_moon) else 5
        left = cx - 15 if not (has_sun or has_moon) else cx - 13
        under = top + 17
        if body in ("Rain", "And Rain"):
            drops(doc, [(cx - 6, under + 5), (cx + 1, under + 7), (cx + 8, under + 5)], 6.5)
        elif body == "Showers":
            streaks(doc, [(cx - 5, under + 2), (cx + 2, under + 3), (cx + 9, under + 2)], 5.5, 1.7)
        elif body == "Thunderstorms":
            drops(doc, [(cx - 8, under + 5), (cx + 9, under + 5)], 6)
        elif body == "Hail":
            hailstones(doc, [(cx - 7, under + 4), (cx, under + 7), (cx + 7, under + 4)], 2.1)
        elif body == "Snow":
            snowflakes(doc, [(cx - 7, under + 5), (cx + 7, under + 5), (cx, under + 9)], 3.2, 1.1)
        elif body == "Flurries":
            snowflakes(doc, [(cx - 5, under + 5), (cx + 6, under + 8)], 3.0, 1.1)
        elif body == "Snowy Rain":
            drops(doc, [(cx - 6, under + 5), (cx + 7, under + 7)], 6)
            snowflakes(doc, [(cx + 1, under + 5)], 3.0, 1.1)
        cloud(doc, left, top, 0.4, tone)
        if body == "Thunderstorms":
            bolt(doc, cx - 4, under - 3, 0.42)
    return doc


def tiny_moon(index):
    doc = Svg(CELL_W, CELL_H, f"Moon, day {index} of its age")
    moon(doc, CELL_W / 2, 12.5, 10.5, index, detail=False)
    return doc


# ---------------------------------------------------------------------------------------------------------------------
# The glass. The tintable slices are a neutral mid grey that the tint matrix turns into the chosen colour; the
# overlays hold what stays untinted: the edge light, the outline that separates the glass from a light desktop, and the
# drop shadow. "Mid" and "Mid Overlay" are stretched vertically, so every row of them is the same.


def panel_outline(y_top, y_bottom, round_top, round_bottom):
    """The glass edge from y_top to y_bottom, with rounded corners where asked."""
    x0, x1, r = PANEL_X0, PANEL_X1, PANEL_R
    d = []
    if round_top:
        d.append(f"M {fmt(x0)},{fmt(y_top + r)} A {fmt(r)},{fmt(r)} 0 0 1 {fmt(x0 + r)},{fmt(y_top)} "
                 f"H {fmt(x1 - r)} A {fmt(r)},{fmt(r)} 0 0 1 {fmt(x1)},{fmt(y_top + r)}")
    else:
        d.append(f"M {fmt(x0)},{fmt(y_top)} H {fmt(x1)}")
    if round_bottom:
        d.append(f"V {fmt(y_bottom - r)} A {fmt(r)},{fmt(r)} 0 0 1 {fmt(x1 - r)},{fmt(y_bottom)} "
                 f"H {fmt(x0 + r)} A {fmt(r)},{fmt(r)} 0 0 1 {fmt(x0)},{fmt(y_bottom - r)} Z")
    else:
        d.append(f"V {fmt(y_bottom)} H {fmt(x0)} Z")
    return " ".join(d)


def slice_tint(part):
    height = {"Top": TOP_H, "Mid": MID_H, "Base": BASE_H}[part]
    doc = Svg(PANEL_W, height, f"{part} of the tintable glass")
    g = GREY
    if part == "Top":
        # A touch lighter at the very top edge: the tint colour brightens there, as glass catches the light.
        grad = linear(doc, "tint-top", 0, PANEL_TOP, 0, TOP_H,
                      [(0, f"rgb({g + 22},{g + 22},{g + 22})", 1), (1, f"rgb({g},{g},{g})", 1)])
        doc.add(f'<path d="{panel_outline(PANEL_TOP, TOP_H + 2, True, False)}" fill="url(#{grad})"/>')
    elif part == "Mid":
        doc.add(f'<rect x="{fmt(PANEL_X0)}" y="0" width="{fmt(PANEL_X1 - PANEL_X0)}" height="{height}" '
                f'fill="rgb({g},{g},{g})"/>')
    else:
        grad = linear(doc, "tint-base", 0, 0, 0, PANEL_BOTTOM,
                      [(0, f"rgb({g},{g},{g})", 1), (1, f"rgb({g - 16},{g - 16},{g - 16})", 1)])
        doc.add(f'<path d="{panel_outline(-2, PANEL_BOTTOM, False, True)}" fill="url(#{grad})"/>')
    return doc


GLASS_FILL, GLASS_FILL_OPACITY = "#56606c", 0.16  # a faint smoke: "very thin glass" still shows on a white desktop


def outside_shadow(doc, key, outline, amount, dy, opacity):
    """A blurred copy of the glass below it, kept only outside the glass so the tint stays clean."""
    # Only straight above or below the glass: the slices leave no room for a shadow on the right.
    mask = doc.define(f"outside-{key}", f'<mask id="@ID" maskUnits="userSpaceOnUse" x="0" y="0" width="{doc.width}" '
                                        f'height="{doc.height}"><rect x="{fmt(PANEL_X0)}" '
                                        f'width="{fmt(PANEL_X1 - PANEL_X0)}" height="{doc.height}" fill="#fff"/>'
                                        f'<path d="{outline}" fill="#000"/></mask>')
    soft = blur(doc, amount)
    doc.add(f'<g mask="url(#{mask})"><path d="{outline}" transform="translate(0,{fmt(dy)})" fill="#000" '
            f'fill-opacity="{fmt(opacity)}" filter="url(#{soft})"/></g>')


def slice_overlay(part):
    height = {"Top": TOP_H, "Mid": MID_H, "Base": BASE_H}[part]
    doc = Svg(PANEL_W, height, f"{part} of the glass overlay")
    x0, x1, r = PANEL_X0, PANEL_X1, PANEL_R
    fill = f'fill="{GLASS_FILL}" fill-opacity="{GLASS_FILL_OPACITY}"'
    if part == "Top":
        outer = panel_outline(PANEL_TOP, TOP_H + 2, True, False)
        inner = (f"M {fmt(x0 + 1)},{fmt(TOP_H + 1)} V {fmt(PANEL_TOP + r)} "
                 f"A {fmt(r - 1)},{fmt(r - 1)} 0 0 1 {fmt(x0 + r)},{fmt(PANEL_TOP + 1)} "
                 f"H {fmt(x1 - r)} A {fmt(r - 1)},{fmt(r - 1)} 0 0 1 {fmt(x1 - 1)},{fmt(PANEL_TOP + r)} "
                 f"V {fmt(TOP_H + 1)}")
        outside_shadow(doc, "top", outer, 0.7, 0, 0.3)
        doc.add(f'<path d="{outer}" {fill}/>')
        doc.add(f'<path d="{outer}" fill="none" stroke="#000" stroke-opacity="0.42" stroke-width="1"/>')
        doc.add(f'<path d="{inner}" fill="none" stroke="#fff" stroke-opacity="0.55" stroke-width="1"/>')
    elif part == "Mid":
        doc.add(f'<rect x="{fmt(x0)}" y="0" width="{fmt(x1 - x0)}" height="{height}" {fill}/>')
        # Hairlines on pixel centres: a dark outer edge, a light inner edge.
        for x, colour, alpha in [(x0 + 0.5, "#000", 0.42), (x0 + 1.5, "#fff", 0.30), (x1 - 0.5, "#000", 0.42),
                                 (x1 - 1.5, "#fff", 0.22)]:
            doc.add(f'<rect x="{fmt(x - 0.5)}" y="0" width="1" height="{height}" fill="{colour}" '
                    f'fill-opacity="{fmt(alpha)}"/>')
    else:
        outer = panel_outline(-2, PANEL_BOTTOM, False, True)
        inner = (f"M {fmt(x0 + 1.5)},-2 V {fmt(PANEL_BOTTOM - r)} "
                 f"A {fmt(r - 1.5)},{fmt(r - 1.5)} 0 0 0 {fmt(x0 + r)},{fmt(PANEL_BOTTOM - 1.5)} "
                 f"H {fmt(x1 - r)} A {fmt(r - 1.5)},{fmt(r - 1.5)} 0 0 0 {fmt(x1 - 1.5)},{fmt(PANEL_BOTTOM - r)} V -2")
        outside_shadow(doc, "base", outer, 1.1, 1.3, 0.6)
        doc.add(f'<path d="{outer}" {fill}/>')
        doc.add(f'<path d="{outer}" fill="none" stroke="#000" stroke-opacity="0.42" stroke-width="1"/>')
        doc.add(f'<path d="{inner}" fill="none" stroke="#fff" stroke-opacity="0.16" stroke-width="1"/>')
    return doc


def reflection():
    """The sheen across the top of the glass: a bright arc fading downwards and towards both ends."""
    doc = Svg(REFLECTION_W, REFLECTION_H, "Reflection on the glass")
    w, h = REFLECTION_W, REFLECTION_H
    fade = linear(doc, "sheen-fade", 0, 0, 0, h, [(0, "#ffffff", 0.30), (0.45, "#ffffff", 0.12), (1, "#ffffff", 0)])
    ends = linear(doc, "sheen-ends", 0, 0, w, 0, [(0, "#fff", 0), (0.12, "#fff", 1), (0.88, "#fff", 1), (1, "#fff", 0)])
    doc.define("sheen-mask", f'<mask id="@ID" maskUnits="userSpaceOnUse" x="0" y="0" width="{w}" height="{h}">'
                             f'<rect width="{w}" height="{h}" fill="url(#{ends})"/></mask>')
    # The lower edge of the sheen bows gently downwards, like light on a curved pane.
    d = f"M 0,0 H {w} V {fmt(h * 0.42)} Q {fmt(w / 2)},{fmt(h * 0.78)} 0,{fmt(h * 0.42)} Z"
    doc.add(f'<path d="{d}" fill="url(#{fade})" mask="url(#sheen-mask)"/>')
    return doc


def grid():
    """Two wells of three cells each; each half of the picture is one row, so the medium view can show either."""
    doc = Svg(GRID_W, GRID_H, "Forecast grid")
    well = linear(doc, "well", 0, 0, 0, 55, [(0, "#000000", 0.26), (0.27, "#000000", 0.18), (1, "#000000", 0.12)])
    for top in (0.5, 57.5):
        doc.add(f'<g transform="translate(0,{fmt(top)})">'
                f'<rect x="0.5" y="0" width="184" height="54" rx="6" fill="url(#{well})"/>'
                f'<rect x="0.5" y="0" width="184" height="54" rx="6" fill="none" stroke="#000000" '
                f'stroke-opacity="0.28"/>'
                f'<path d="M 6,54.5 H 179" stroke="#ffffff" stroke-opacity="0.28"/>'
                f'<path d="M 61.5,16 V 48 M 123.5,16 V 48" stroke="#ffffff" stroke-opacity="0.22"/>'
                f'<path d="M 6,14.5 H 179" stroke="#ffffff" stroke-opacity="0.10"/></g>')
    return doc


def round_button(title, glyph):
    doc = Svg(18, 18, title)
    face = linear(doc, "button-face", 0, 1, 0, 17, [(0, "#4a5361", 1), (0.5, "#2a313c", 1), (1, "#151a22", 1)])
    filt = shadow(doc, 0.7, 0.6, 0.5)
    doc.add(f'<g filter="url(#{filt})"><circle cx="9" cy="9" r="7.6" fill="url(#{face})" fill-opacity="0.92" '
            f'stroke="#ffffff" stroke-opacity="0.75" stroke-width="1.1"/></g>')
    doc.add(f'<path d="{glyph}" stroke="#ffffff" stroke-width="1.7" stroke-linecap="round" fill="none"/>')
    return doc


# Capital letters as strokes in a 5 x 7 box, for the one word on a button.
LETTERS = {"A": "M 0,7 L 2.5,0 L 5,7 M 1,4.4 H 4", "Y": "M 0,0 L 2.5,3.6 L 5,0 M 2.5,3.6 V 7",
           "R": "M 0,7 V 0 H 3 A 1.9,1.9 0 0 1 3,3.8 H 0 M 2.6,3.8 L 5,7", "L": "M 0,0 V 7 H 4.6"}


def options_button():
    doc = Svg(58, 18, "Options")
    face = linear(doc, "button-face", 0, 1, 0, 17, [(0, "#4a5361", 1), (0.5, "#2a313c", 1), (1, "#151a22", 1)])
    filt = shadow(doc, 0.7, 0.6, 0.5)
    doc.add(f'<g filter="url(#{filt})"><rect x="1.4" y="1.4" width="55.2" height="15.2" rx="7.6" fill="url(#{face})" '
            f'fill-opacity="0.92" stroke="#ffffff" stroke-opacity="0.75" stroke-width="1.1"/></g>')
    # A gear: eight teeth around a ring.
    gx, gy = 10.5, 9
    teeth = []
    for i in range(8):
        a = math.radians(i * 45)
        teeth.append(f"M {fmt(gx + math.cos(a) * 2.6)},{fmt(gy + math.sin(a) * 2.6)} "
                     f"L {fmt(gx + math.cos(a) * 4.6)},{fmt(gy + math.sin(a) * 4.6)}")
    doc.add(f'<path d="{" ".join(teeth)}" stroke="#ffffff" stroke-width="1.6" stroke-linecap="round"/>'
            f'<circle cx="{gx}" cy="{gy}" r="2.6" fill="none" stroke="#ffffff" stroke-width="1.5"/>')
    word, x = "AYARLAR", 17.5
    strokes = []
    for ch in word:
        strokes.append(f'<path transform="translate({fmt(x)},5.5) scale(0.85,1)" d="{LETTERS[ch]}"/>')
        x += 5.0
    doc.add(f'<g fill="none" stroke="#ffffff" stroke-width="1.15" stroke-linecap="round" stroke-linejoin="round">'
            f'{"".join(strokes)}</g>')
    return doc


# ---------------------------------------------------------------------------------------------------------------------
# The application icon: the sun behind a cloud, simple enough to read at 16 pixels.


def app_icon():
    doc = Svg(48, 48, "Nimbo")
    sun(doc, 19, 17.5, 12.5, rays=False, glow=True)
    cloud(doc, 5, 17.5, 0.54, "white", outline="#7d8fa6")
    return doc


# ---------------------------------------------------------------------------------------------------------------------

BIG_CONDITIONS = ["Clouds", "Few Clouds", "Flurries", "Fog", "Hail", "Haze", "Ice", "Many Clouds", "Rain", "Showers",
                  "Snow", "Snowy Rain", "Thunderstorms", "Wind"]
TINY_NAMES = ["Clouds", "Flurries", "Fog", "Hail", "Ice", "Moon And Clouds", "Moon And Rain", "Moon Few Clouds",
              "Moon Haze", "Moon", "Rain", "Showers", "Snow", "Snowy Rain", "Sun And Clouds", "Sun And Rain",
              "Sun Few Clouds", "Sun Haze", "Sun", "Sunny Thunderstorms", "Thunderstorms", "Wind", "None"]


def picture_set():
    """Every file of the set as (relative path, SVG document)."""
    files = []
    for name in BIG_CONDITIONS:
        files.append((f"Big/{name}.svg", big_condition(name)))
    for name in ("Earth", "Sun", "None"):
        files.append((f"Big/{name}.svg", big_sky(name)))
    for part in ("Top", "Mid", "Base"):
        files.append((f"Colorize/{part}.svg", slice_tint(part)))
        files.append((f"Colorize/{part} Overlay.svg", slice_overlay(part)))
    for index in range(28):
        files.append((f"Moons/{index}.svg", big_moon(index)))
        files.append((f"Tiny/Moons/{index}.svg", tiny_moon(index)))
    for name in TINY_NAMES:
        files.append((f"Tiny/{name}.svg", tiny(name)))
    files.append(("UI/Close.svg", round_button("Close", "M 6.2,6.2 L 11.8,11.8 M 11.8,6.2 L 6.2,11.8")))
    files.append(("UI/Less.svg", round_button("Less", "M 5.6,9 H 12.4")))
    files.append(("UI/Options.svg", options_button()))
    files.append(("UI/Grid.svg", grid()))
    files.append(("UI/Reflection.svg", reflection()))
    files.append(("nimbo_icon.svg", app_icon()))
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    stale = []
    for relative, doc in picture_set():
        path = os.path.join(args.out, relative)
        text = doc.text()
        try:
            with open(path, encoding="utf-8") as f:
                current = f.read()
        except OSError:
            current = None
        if current == text:
            continue
        if args.check:
            stale.append(relative)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    if stale:
        print("These SVG files differ from make_picture_set.py; run it and commit the result:", file=sys.stderr)
        for relative in stale:
            print("  " + relative, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
