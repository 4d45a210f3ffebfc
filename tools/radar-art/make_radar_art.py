#!/usr/bin/python3
"""Draws the 2D radar's own art into DATA_FOLDER/graphics: white shapes on
transparency (the radar tints them with each object's colour), drawn
supersampled and reduced for clean edges.

  radar_2             the radar disc under the focus ship: rim, bearing ticks
  icon-nebula         a nebula's cloud at three zoom levels (128, 64, 8 pixels)
  icon-nebula64
  icon-nebula8
  generic-asteroid    an asteroid at three zoom levels (128, 50, 8 pixels)
  generic-asteroid50
  generic-asteroid8
  icon-blackhole      a swirl round a dark core
  icon-globe          a planet: a shaded sphere with a ring of latitude
  teardrop            a torpedo or drone, nose up
  icon-mine           a monster: a spiked star
  unknownShipIcon     a ship not yet scanned: a hollow dart, nose up
  singleShield        the ring of a ship with one shield
  uparrow             an elevation arrow
  icon-map-pin        a nav point's pin, its tip at the middle
  icon-map-arrow      the arrow towards a nav point off the map, pointing down
  reticle-set         the target reticles: 5 x 4 cells of 128 pixels

The shield facings' marks (shldFace1 to 3) are the interface art's
(tools/gui-art). Nose-up art is drawn turned by the radar so that it points along the
object's heading. Everything is drawn from code with fixed seeds: two runs
give the same files. Usage: make_radar_art.py DATA_FOLDER
"""

import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

SUPERSAMPLE = 4


class Canvas:
    """A square alpha canvas in unit coordinates: (-1, -1) top left to (1, 1)
    bottom right; widths in units."""

    def __init__(self, size):
        self.size = size
        self.big = size * SUPERSAMPLE
        self.image = Image.new("L", (self.big, self.big), 0)
        self.draw = ImageDraw.Draw(self.image)

    def pt(self, p):
        return ((p[0] + 1.0) * 0.5 * (self.big - 1), (p[1] + 1.0) * 0.5 * (self.big - 1))

    def w(self, width):
        return max(1, int(round(width * 0.5 * self.big)))

    def poly(self, points, value=255):
        self.draw.polygon([self.pt(p) for p in points], fill=value)

    def circle(self, cx, cy, r, value=255):
        self.draw.ellipse([self.pt((cx - r, cy - r)), self.pt((cx + r, cy + r))], fill=value)

    def line(self, points, width, value=255):
        self.draw.line([self.pt(p) for p in points], fill=value, width=self.w(width), joint="curve")

    def arc(self, r, start, end, width, value=255):
        """Degrees, 0 up, clockwise."""
        steps = max(16, int(abs(end - start)))
        pts = [(r * math.sin(math.radians(start + (end - start) * i / steps)),
                -r * math.cos(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]
        self.line(pts, width, value)

    def alpha(self):
        return self.image.resize((self.size, self.size), Image.LANCZOS)


def white(alpha, grey=None):
    """An RGBA image: grey (default white) under the alpha."""
    size = alpha.size
    if grey is None:
        grey = Image.new("L", size, 255)
    return Image.merge("RGBA", (grey, grey, grey, alpha))


def radial(size):
    """Distance from the middle, 1 at the edge's midpoints."""
    c = (size - 1) / 2.0
    y, x = np.mgrid[0:size, 0:size].astype(np.float64)
    return np.hypot(x - c, y - c) / (size / 2.0), np.arctan2(x - c, -(y - c))


def from_array(a):
    return Image.fromarray(np.clip(np.round(a * 255.0), 0, 255).astype(np.uint8), "L")


# --- The radar disc --------------------------------------------------------

def radar_disc():
    size = 1024
    c = Canvas(size)
    c.circle(0, 0, 0.985, 70)
    c.circle(0, 0, 0.975, 0)
    for degree in range(0, 360, 5):
        long_tick = degree % 30 == 0
        mid_tick = degree % 15 == 0
        inner = 0.90 if long_tick else (0.93 if mid_tick else 0.955)
        a = math.radians(degree)
        c.line([(inner * math.sin(a), -inner * math.cos(a)), (0.975 * math.sin(a), -0.975 * math.cos(a))],
               0.006 if long_tick else 0.003, 150 if long_tick else 90)
    for r in (0.25, 0.5, 0.75):
        c.arc(r, 0, 360, 0.002, 28)
    c.line([(-0.975, 0), (0.975, 0)], 0.002, 30)
    c.line([(0, -0.975), (0, 0.975)], 0.002, 30)
    ring = np.asarray(c.alpha(), dtype=np.float64) / 255.0
    d, _ = radial(size)
    glow = np.where(d < 0.975, 0.10 + 0.12 * d ** 3, 0.0)
    return white(from_array(np.maximum(ring, glow)))


# --- Terrain ---------------------------------------------------------------

def smooth_noise(size, seed, octaves=4):
    rng = np.random.default_rng(seed)
    total = np.zeros((size, size))
    amplitude, weight = 1.0, 0.0
    for octave in range(octaves):
        cells = 4 * 2 ** octave
        grid = rng.uniform(0.0, 1.0, (cells + 1, cells + 1))
        layer = np.asarray(Image.fromarray((grid * 255).astype(np.uint8), "L").resize((size, size), Image.BICUBIC),
                           dtype=np.float64) / 255.0
        total += amplitude * layer
        weight += amplitude
        amplitude *= 0.5
    return total / weight


def nebula(size, seed):
    d, _ = radial(size)
    cloud = smooth_noise(size, seed)
    falloff = np.clip(1.0 - d, 0.0, 1.0) ** 1.2
    alpha = np.clip((cloud - 0.25) * 1.6, 0.0, 1.0) * falloff * 0.85
    if size <= 8:
        alpha = np.clip(falloff * 0.7, 0.0, 1.0)
    return white(from_array(alpha))


def asteroid(size, seed):
    rng = np.random.default_rng(seed)
    big = size * SUPERSAMPLE
    c = Canvas(size)
    points = []
    count = 11
    for i in range(count):
        a = 2.0 * math.pi * i / count + rng.uniform(-0.15, 0.15)
        r = rng.uniform(0.62, 0.88)
        points.append((r * math.sin(a), -r * math.cos(a)))
    c.poly(points)
    alpha = np.asarray(c.image, dtype=np.float64) / 255.0
    # Lit from the top left over a rough, pitted surface.
    y, x = np.mgrid[0:big, 0:big].astype(np.float64) / (big - 1) * 2.0 - 1.0
    rough = smooth_noise(big, seed + 100, octaves=5)
    shade = np.clip(0.78 - 0.3 * (x + y) + 0.45 * (rough - 0.5), 0.3, 1.0)
    grey = from_array(shade).resize((size, size), Image.LANCZOS)
    return white(from_array(alpha).resize((size, size), Image.LANCZOS), grey)


# --- Objects ---------------------------------------------------------------

def black_hole():
    size = 64
    d, angle = radial(size)
    swirl = 0.5 + 0.5 * np.cos(3.0 * angle + 9.0 * d)
    ring = np.exp(-((d - 0.32) / 0.08) ** 2)
    alpha = np.clip(np.where(d < 0.95, swirl * (1.0 - d) * 0.9, 0.0) + ring, 0.0, 1.0)
    alpha = np.where(d < 0.24, 0.0, alpha)
    return white(from_array(alpha))


def globe():
    size = 512
    c = Canvas(size)
    c.circle(0, 0, 0.96)
    alpha = c.alpha()
    d, _ = radial(size)
    y, x = np.mgrid[0:size, 0:size].astype(np.float64) / (size - 1) * 2.0 - 1.0
    z = np.sqrt(np.clip(1.0 - (x / 0.96) ** 2 - (y / 0.96) ** 2, 0.0, 1.0))
    light = np.clip(0.25 + 0.75 * (-0.5 * x - 0.5 * y + 0.7 * z), 0.2, 1.0)
    bands = 0.92 + 0.08 * np.cos(y * 18.0)
    grey = from_array(light * bands)
    lines = Canvas(size)
    lines.line([(-0.96, 0.0), (0.96, 0.0)], 0.012)
    lines.arc(0.96, 0, 360, 0.02)
    grey = Image.fromarray(np.maximum(np.asarray(grey), np.asarray(lines.alpha())))
    return white(alpha, grey)


def teardrop():
    c = Canvas(160)
    c.circle(0, 0.25, 0.45)
    c.poly([(-0.43, 0.12), (0.0, -0.9), (0.43, 0.12)])
    c.circle(0, 0.25, 0.2, 0)
    return white(c.alpha())


def monster():
    c = Canvas(96)
    points = []
    for i in range(16):
        r = 0.95 if i % 2 == 0 else 0.5
        a = math.pi * i / 8
        points.append((r * math.sin(a), -r * math.cos(a)))
    c.poly(points)
    c.circle(0, 0, 0.28, 0)
    c.circle(0, 0, 0.14)
    return white(c.alpha())


def unknown_ship():
    c = Canvas(256)
    outline = [(0.0, -0.75), (0.5, 0.6), (0.0, 0.32), (-0.5, 0.6), (0.0, -0.75)]
    c.line(outline, 0.07)
    c.circle(0, 0.02, 0.09)
    return white(c.alpha())


def single_shield():
    c = Canvas(256)
    c.arc(0.86, 0, 360, 0.05)
    return white(c.alpha())


def up_arrow():
    c = Canvas(64)
    c.poly([(0, -0.9), (0.75, 0.0), (0.28, 0.0), (0.28, 0.85), (-0.28, 0.85), (-0.28, 0.0), (-0.75, 0.0)])
    return white(c.alpha())


def map_pin():
    c = Canvas(128)
    c.circle(0, -0.55, 0.38)
    c.poly([(-0.33, -0.4), (0.0, 0.0), (0.33, -0.4)])
    c.circle(0, -0.55, 0.15, 0)
    return white(c.alpha())


def map_arrow():
    c = Canvas(128)
    c.poly([(0.0, 0.9), (0.8, -0.1), (0.0, 0.2), (-0.8, -0.1)])
    return white(c.alpha())


# --- Reticles --------------------------------------------------------------

def corner_brackets(c, r, length, width):
    for sx in (-1, 1):
        for sy in (-1, 1):
            c.line([(sx * r, sy * (r - length)), (sx * r, sy * r), (sx * (r - length), sy * r)], width)


def reticle(cell):
    """Twenty distinct target marks: brackets, rings, ticks and diamonds."""
    c = Canvas(128)
    kind = cell % 5
    r = 0.78 - 0.06 * (cell // 5)
    if kind == 0:
        corner_brackets(c, r, 0.3, 0.07)
    elif kind == 1:
        c.arc(r, 0, 360, 0.06)
        for a in (0, 90, 180, 270):
            t = math.radians(a)
            inner, outer = 0.55 * r, 1.15 * r
            c.line([(inner * math.sin(t), -inner * math.cos(t)), (outer * math.sin(t), -outer * math.cos(t))], 0.07)
    elif kind == 2:
        c.line([(0, -r), (r, 0), (0, r), (-r, 0), (0, -r)], 0.07)
    elif kind == 3:
        for start in (20, 110, 200, 290):
            c.arc(r, start, start + 50, 0.08)
        c.circle(0, 0, 0.06)
    else:
        corner_brackets(c, r, 0.22, 0.06)
        c.arc(r * 0.6, 0, 360, 0.04)
    return c.alpha()


def reticle_sheet():
    cell = 128
    sheet = Image.new("L", (cell * 5, cell * 4), 0)
    for n in range(20):
        sheet.paste(reticle(n), ((n % 5) * cell, (n // 5) * cell))
    return white(sheet)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = os.path.join(sys.argv[1], "graphics")
    os.makedirs(folder, exist_ok=True)
    art = {
        "radar_2": radar_disc(),
        "icon-nebula": nebula(128, 11),
        "icon-nebula64": nebula(64, 12),
        "icon-nebula8": nebula(8, 13),
        "generic-asteroid": asteroid(128, 21),
        "generic-asteroid50": asteroid(50, 22),
        "generic-asteroid8": asteroid(8, 23),
        "icon-blackhole": black_hole(),
        "icon-globe": globe(),
        "teardrop": teardrop(),
        "icon-mine": monster(),
        "unknownShipIcon": unknown_ship(),
        "singleShield": single_shield(),
        "uparrow": up_arrow(),
        "icon-map-pin": map_pin(),
        "icon-map-arrow": map_arrow(),
        "reticle-set": reticle_sheet(),
    }
    for name, image in art.items():
        path = os.path.join(folder, name + ".png")
        temporary = path + ".tmp"
        image.save(temporary, format="PNG", optimize=False)
        os.replace(temporary, path)


if __name__ == "__main__":
    main()
