#!/usr/bin/python3
"""Draws the interface's own art into the data folder:

  QelDefault/smallWhite.png
                      the plain white texture drawn wherever a texture is
                      missing, and under every flat-coloured quad
  graphics/gradient1024.png
                      the shading of every console panel (tinted by the
                      panel's colour; a panel samples its top-left 500 pixels)
  graphics/grid-icon-sheet.png
                      the icon sheet: 20 x 20 cells of 64 pixels, white
                      shapes on transparency, tinted when drawn
  graphics/options_background_image.png
                      the backing of the ship-data panel: a faint
                      engineering grid over a glassy ramp, tinted when drawn
  graphics/shldFace1.png, shldFace2.png, shldFace3.png
                      a shield facing seen from above: an arc over the bow
                      of a 256-pixel silhouette, whole, worn and broken

Everything is drawn from code, deterministically: two runs give the same
files. Usage: make_gui_art.py DATA_FOLDER
"""

import os
import sys

import numpy as np
from PIL import Image

from icons import ICONS
from pen import CELL, Pen

COLUMNS = 20


# --- The panel gradient ------------------------------------------------------

def gradient():
    """A glassy panel: bright along the top edge with a soft sheen just below
    it, darkening downwards and slightly towards the right."""
    size = 1024
    span = 500.0  # what one panel samples, top to bottom
    y = np.arange(size, dtype=np.float64)[:, None] / span
    x = np.arange(size, dtype=np.float64)[None, :] / span
    fall = 0.58 + 0.42 * np.clip(1.0 - y, 0.0, 1.0) ** 1.6
    sheen = 0.16 * np.exp(-((y - 0.07) / 0.05) ** 2)
    across = 1.0 - 0.08 * np.clip(x, 0.0, 1.0)
    value = np.clip((fall + sheen) * across, 0.0, 1.0)
    # A fixed dither keeps the long ramp free of bands.
    noise = np.random.default_rng(1024).uniform(-0.5, 0.5, (size, size)) / 255.0
    grey = np.clip(np.round((value + noise) * 255.0), 0, 255).astype(np.uint8)
    alpha = np.full((size, size), 235, dtype=np.uint8)
    return Image.fromarray(np.dstack([grey, grey, grey, alpha]), "RGBA")


# --- The sheet ---------------------------------------------------------------------

def icon_sheet():
    sheet = Image.new("LA", (CELL * COLUMNS, CELL * COLUMNS), (255, 0))
    for cell, draw in sorted(ICONS.items()):
        pen = Pen()
        draw(pen)
        column, row = cell % COLUMNS, cell // COLUMNS
        alpha = pen.result()
        tile = Image.merge("LA", (Image.new("L", (CELL, CELL), 255), alpha))
        sheet.paste(tile, (column * CELL, row * CELL))
    return sheet.convert("RGBA")


# --- The ship-data panel ------------------------------------------------------

def options_background():
    """A dark glass plate with a fine grid, brighter along its top and left
    edges where the rows begin."""
    width, height = 512, 384
    y = np.arange(height, dtype=np.float64)[:, None] / height
    x = np.arange(width, dtype=np.float64)[None, :] / width
    value = 0.55 + 0.45 * (1.0 - y) ** 1.5
    value = value * (1.0 - 0.25 * x)
    grid = ((np.arange(height)[:, None] % 24) == 0) | ((np.arange(width)[None, :] % 24) == 0)
    value = np.where(grid, np.minimum(value + 0.35, 1.0), value)
    edge = np.exp(-x * width / 6.0) + np.exp(-y * height / 6.0)
    value = np.clip(value + 0.5 * edge, 0.0, 1.0)
    grey = np.round(value * 255.0).astype(np.uint8)
    alpha = np.full((height, width), 200, dtype=np.uint8)
    return Image.fromarray(np.dstack([grey, grey, grey, alpha]), "RGBA")


def shield_face(gaps):
    """The bow's shield arc on a 256-pixel square, centred like the ship's
    silhouette; gaps cut that many breaks into it (a worn or failing shield)."""
    size = 256
    centre = (size - 1) / 2.0
    y, x = np.mgrid[0:size, 0:size].astype(np.float64)
    dx, dy = x - centre, centre - y
    radius = np.hypot(dx, dy)
    angle = np.degrees(np.arctan2(dx, dy))  # 0 straight ahead
    band = np.exp(-((radius - 112.0) / 5.0) ** 2) + 0.35 * np.exp(-((radius - 104.0) / 10.0) ** 2)
    span = np.clip((70.0 - np.abs(angle)) / 10.0, 0.0, 1.0)
    alpha = band * span
    if gaps:
        pieces = gaps + 1
        phase = (angle + 70.0) / 140.0 * pieces
        alpha *= np.clip(np.abs(phase - np.round(phase)) * 12.0 - 1.0, 0.0, 1.0) * (np.abs(angle) < 70.0)
    alpha = np.clip(np.round(np.clip(alpha, 0.0, 1.0) * 255.0), 0, 255).astype(np.uint8)
    white = np.full((size, size), 255, dtype=np.uint8)
    return Image.fromarray(np.dstack([white, white, white, alpha]), "RGBA")


def small_white():
    return Image.new("RGBA", (8, 8), (255, 255, 255, 255))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    data = sys.argv[1]
    for name, image in (("QelDefault/smallWhite.png", small_white()),
                        ("graphics/gradient1024.png", gradient()),
                        ("graphics/grid-icon-sheet.png", icon_sheet()),
                        ("graphics/options_background_image.png", options_background()),
                        ("graphics/shldFace1.png", shield_face(0)),
                        ("graphics/shldFace2.png", shield_face(2)),
                        ("graphics/shldFace3.png", shield_face(5))):
        path = os.path.join(data, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        temporary = path + ".tmp"
        image.save(temporary, format="PNG", optimize=False)
        os.replace(temporary, path)


if __name__ == "__main__":
    main()
