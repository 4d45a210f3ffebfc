#!/usr/bin/python3
"""Draws the menu screens' own art into the data folder's graphics:

  menu_backdrop.png  the background of every menu screen: a 512 x 512 tile,
                     seamless on all four sides, light grey so that the
                     preference's deep background colour tints it; it is
                     drawn pixel for pixel and repeated over the window
  HalvexLogo.png     the game's emblem and name, white and ice blue with a
                     soft glow, on transparency; the start screen shows it at
                     half size, the option screens as a faint watermark

Everything is drawn from code, deterministically: two runs give the same
files. Usage: make_menu_art.py OUTPUT_FOLDER FONT_FILE
"""

import math
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

TILE = 512


# --- The backdrop tile ---------------------------------------------------------

def periodic_noise(size, cells, rng):
    """Smooth value noise that wraps at the tile's edges: a random lattice of
    cells x cells values, interpolated with a smoothstep, indices modulo."""
    lattice = rng.uniform(0.0, 1.0, (cells, cells))
    coords = np.arange(size, dtype=np.float64) * cells / size
    i0 = np.floor(coords).astype(int) % cells
    i1 = (i0 + 1) % cells
    f = coords - np.floor(coords)
    f = f * f * (3.0 - 2.0 * f)
    top = lattice[i0][:, i0] * (1 - f[None, :]) + lattice[i0][:, i1] * f[None, :]
    bottom = lattice[i1][:, i0] * (1 - f[None, :]) + lattice[i1][:, i1] * f[None, :]
    return top * (1 - f[:, None]) + bottom * f[:, None]


def hex_lines(size, across):
    """Distance-based lines of a hexagon grid that fits the tile a whole number
    of times each way (the rows are squeezed slightly to make it fit)."""
    y, x = np.mgrid[0:size, 0:size].astype(np.float64)
    width = size / across                     # hexagon width, flat to flat
    rows = max(1, round(size / (width * math.sqrt(3) / 2)))
    rows += rows % 2                          # even rows keep the stagger seamless
    height = size / rows
    row = np.floor(y / height)
    shifted = x + (row % 2) * width / 2
    u = (shifted % width) / width - 0.5       # -0.5..0.5 across a cell
    v = (y % height) / height - 0.5
    # Distance to the hexagon's border in cell units.
    edge = np.maximum(np.abs(u) * 2, np.abs(u) + np.abs(v) * 1.5)
    return np.clip(1.0 - np.abs(edge - 1.0) * 14.0, 0.0, 1.0)


def backdrop():
    rng = np.random.default_rng(995)
    cloud = 0.6 * periodic_noise(TILE, 4, rng) + 0.4 * periodic_noise(TILE, 16, rng)
    grain = periodic_noise(TILE, 128, rng)
    lines = hex_lines(TILE, 8)
    value = 0.66 + 0.24 * cloud + 0.05 * grain + 0.22 * lines * (0.4 + 0.6 * cloud)
    dither = rng.uniform(-0.5, 0.5, (TILE, TILE)) / 255.0
    grey = np.clip(np.round((np.clip(value, 0.0, 1.0) + dither) * 255.0), 0, 255).astype(np.uint8)
    alpha = np.full((TILE, TILE), 255, dtype=np.uint8)
    return Image.fromarray(np.dstack([grey, grey, grey, alpha]), "RGBA")


# --- The logo --------------------------------------------------------------------

LOGO_W, LOGO_H = 1024, 360
ICE = (200, 236, 255)
GLOW = (53, 192, 232)


def emblem(draw, cx, cy, r):
    """A ship seen from above inside a broken ring: an arrowhead hull with two
    swept nacelles, pointing up."""
    for start in (20, 200):
        draw.arc((cx - r, cy - r, cx + r, cy + r), start, start + 140, fill=ICE + (255,), width=7)
    hull = [(cx, cy - r * 0.78), (cx + r * 0.22, cy + r * 0.30), (cx, cy + r * 0.12),
            (cx - r * 0.22, cy + r * 0.30)]
    draw.polygon(hull, fill=(255, 255, 255, 255))
    for side in (-1, 1):
        wing = [(cx + side * r * 0.14, cy - r * 0.05), (cx + side * r * 0.62, cy + r * 0.46),
                (cx + side * r * 0.50, cy + r * 0.58), (cx + side * r * 0.12, cy + r * 0.22)]
        draw.polygon(wing, fill=ICE + (255,))


def spaced_text(draw, origin, text, font, spacing, colour):
    x, y = origin
    for character in text:
        draw.text((x, y), character, font=font, fill=colour)
        x += draw.textlength(character, font=font) + spacing
    return x


def text_width(draw, text, font, spacing):
    return sum(draw.textlength(c, font=font) for c in text) + spacing * (len(text) - 1)


def logo(font_file):
    shapes = Image.new("RGBA", (LOGO_W, LOGO_H), (0, 0, 0, 0))
    draw = ImageDraw.Draw(shapes)
    emblem(draw, 150, 170, 112)

    name_font = ImageFont.truetype(font_file, 96)
    tag_font = ImageFont.truetype(font_file, 30)
    first, second = "CORVANE", "HALVEX"
    left = 300
    spaced_text(draw, (left, 48), first, name_font, 10, (255, 255, 255, 255))
    spaced_text(draw, (left, 150), second, name_font, 10, ICE + (255,))
    rule_right = left + max(text_width(draw, first, name_font, 10), text_width(draw, second, name_font, 10))
    draw.rectangle((left, 270, rule_right, 276), fill=GLOW + (255,))
    spaced_text(draw, (left, 290), "BRIDGE SIMULATION", tag_font, 9, ICE + (220,))

    # A soft glow in the interface's blue behind everything drawn.
    mask = shapes.getchannel("A").filter(ImageFilter.GaussianBlur(14))
    glow = Image.new("RGBA", shapes.size, GLOW + (0,))
    glow.putalpha(mask.point(lambda a: int(a * 0.75)))
    return Image.alpha_composite(glow, shapes)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    folder, font_file = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    for name, image in (("menu_backdrop.png", backdrop()), ("HalvexLogo.png", logo(font_file))):
        temporary = os.path.join(folder, name + ".tmp")
        image.save(temporary, format="PNG", optimize=False)
        os.replace(temporary, os.path.join(folder, name))


if __name__ == "__main__":
    main()
