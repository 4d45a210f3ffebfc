#!/usr/bin/env python3
"""Draws the character-portrait parts: the face-part sheets and their list.

Writes data/graphics/faces/<part>.png, one sheet per part, and
data/graphics/allFaceFiles.txt, which names each part's sheet. Everything is
drawn here from shapes and fixed seeds: two runs give the same files.

A portrait is a face description string that layers parts back to front,
each "part colour column row [offsetX offsetY]" and ';' between parts:

    backdrop #1d2b3c 0 0;head #e6b594 0 0;uniform #2a5aa8 0 0;
    trim #e8c866 0 0;eyes white 0 0;iris #3a78b8 0 0;brows #4a2e1c 0 0;
    nose #e6b594 0 0;mouth #e6b594 0 0;hair #4a2e1c 0 0

Every sheet is drawn in shades of grey (the lips in a pale rose), and the
part's colour tints it, so one sheet serves every skin, hair, eye and uniform
colour. Draw skin parts (head, nose, mouth, alien) in the skin colour, hair
parts (hairback, hair, brows, beard) in the hair colour, "eyes" in white and
"iris" in the eye colour; an iris uses the column and row of its eyes.
A positive offset moves the part up or left. Write no blank after a ';': a
part that begins with a blank has no name and draws nothing.

Parts, in layer order, with their cells (column row):
    backdrop   0 0 disc        1 0 panel       0 1 hexagon     1 1 screen
    hairback   0 0 long        1 0 ponytail    0 1 bob         1 1 volume
    head       0 0 oval        1 0 square      0 1 narrow      1 1 round
    uniform    0 0 tunic       1 0 officer     0 1 jumpsuit    1 1 armour
    trim       (the same cells as uniform: piping, boards, harness, plates)
    alien      0 0 pointed ears 1 0 ridges     0 1 antennae    1 1 markings
    eyes       0 0 almond      1 0 round       0 1 narrow      1 1 hooded
    iris       (the same cells as eyes)
    brows      0 0 straight    1 0 arched      0 1 stern       1 1 thin
    nose       0 0 straight    1 0 broad       0 1 button      1 1 aquiline
    mouth      0 0 neutral     1 0 smile       0 1 stern       1 1 speaking
    beard      0 0 full        1 0 goatee      0 1 moustache   1 1 stubble
    hair       0 0 crop        1 0 side part   2 0 swept back  3 0 buzz
               0 1 long        1 1 bun         2 1 crest       3 1 curls
    gear       0 0 headset     1 0 eyepatch    0 1 visor       1 1 implant
"""

import argparse
import multiprocessing
import pathlib

import numpy as np
from PIL import Image

from canvas import PITCH
from face import alien, brows, eyes, head, iris, mouth, nose
from hair import beard, hair, hairback
from outfit import backdrop, gear, trim, uniform


# ---------------------------------------------------------------- sheets


# Each part: its drawer, and the names of its cells in sheet order (rows of
# the given column count).
PARTS = {
    "backdrop": (backdrop, 2, ["disc", "panel", "hexagon", "screen"]),
    "hairback": (hairback, 2, ["long", "ponytail", "bob", "volume"]),
    "head": (head, 2, ["oval", "square", "narrow", "round"]),
    "uniform": (uniform, 2, ["tunic", "officer", "jumpsuit", "armour"]),
    "trim": (trim, 2, ["tunic", "officer", "jumpsuit", "armour"]),
    "alien": (alien, 2, ["pointed ears", "ridges", "antennae", "markings"]),
    "eyes": (eyes, 2, ["almond", "round", "narrow", "hooded"]),
    "iris": (iris, 2, ["almond", "round", "narrow", "hooded"]),
    "brows": (brows, 2, ["straight", "arched", "stern", "thin"]),
    "nose": (nose, 2, ["straight", "broad", "button", "aquiline"]),
    "mouth": (mouth, 2, ["neutral", "smile", "stern", "speaking"]),
    "beard": (beard, 2, ["full", "goatee", "moustache", "stubble"]),
    "hair": (hair, 4, ["crop", "side part", "swept back", "buzz", "long", "bun", "crest", "curls"]),
    "gear": (gear, 2, ["headset", "eyepatch", "visor", "implant"]),
}


def sheet(cells, columns):
    """The cells laid out on the 514-pixel pitch, each edge pixel repeated
    into its gutter so smooth sampling at a cell's border stays clean."""
    rows = (len(cells) + columns - 1) // columns
    out = np.zeros((rows * PITCH, columns * PITCH, 4), dtype=np.uint8)
    for i, cell in enumerate(cells):
        top, left = (i // columns) * PITCH, (i % columns) * PITCH
        out[top : top + PITCH, left : left + PITCH] = np.pad(cell, ((1, 1), (1, 1), (0, 0)), mode="edge")
    return out


def draw_sheet(task):
    faces, name = task
    draw, columns, cells = PARTS[name]
    image = sheet([draw(cell).cell() for cell in cells], columns)
    Image.fromarray(image, "RGBA").save(faces / f"{name}.png", compress_level=6)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("graphics", type=pathlib.Path, help="the data/graphics folder to write into")
    args = parser.parse_args()
    faces = args.graphics / "faces"
    faces.mkdir(parents=True, exist_ok=True)
    # Sheets are independent and seeded by part, so drawing them side by side
    # gives the same files as one after another.
    with multiprocessing.Pool(min(4, multiprocessing.cpu_count())) as pool:
        pool.map(draw_sheet, [(faces, name) for name in PARTS])
    # Written last: the build takes the list as the mark that every sheet is there.
    listing = "".join(f"{name} faces/{name}\n" for name in PARTS)
    (args.graphics / "allFaceFiles.txt").write_text(listing)


if __name__ == "__main__":
    main()
