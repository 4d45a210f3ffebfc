#!/usr/bin/python3
"""Draws the star background of the 3D views, the sky box "sky1", into the
data folder's graphics:

  sky1.png   a cross of 4 x 3 cells, six of them faces of a cube around the
             viewer: stars of every brightness and a faint band of glowing
             gas across the sky, in which the stars crowd

Every pixel is drawn from the direction it is seen in, so the six faces meet
without seams: the faces' corners below are the ones the game's sky box
(SkyBoxManager) gives its cube. Everything comes from fixed seeds: two runs
give the same file. Usage: make_sky.py OUTPUT_FOLDER
"""

import os
import sys

import numpy as np
from PIL import Image

CELL = 1024           # pixels along one face
GAS_CELL = 256        # the gas is smooth: drawn smaller, then enlarged
COLUMNS, ROWS = 4, 3

# Each face of the cube: its cell (column, row) of the cross, its outward
# normal, and the directions in which the cell's x and y grow. Must match the
# corners of SkyBoxManager's faces.
FACES = (
    ((1, 1), (0, 1, 0), (1, 0, 0), (0, 0, 1)),    # y = +50
    ((3, 1), (0, -1, 0), (-1, 0, 0), (0, 0, 1)),  # y = -50
    ((2, 1), (1, 0, 0), (0, -1, 0), (0, 0, 1)),   # x = +50
    ((0, 1), (-1, 0, 0), (0, 1, 0), (0, 0, 1)),   # x = -50
    ((1, 0), (0, 0, -1), (1, 0, 0), (0, 1, 0)),   # z = -50
    ((1, 2), (0, 0, 1), (1, 0, 0), (0, -1, 0)),   # z = +50
)

# The band of gas and crowded stars lies along the great circle square to this.
BAND_POLE = np.array([0.35, 0.62, -0.70])
BAND_POLE /= np.linalg.norm(BAND_POLE)
BAND_WIDTH = 0.22     # of the sine of the angle from the band's circle

BACKGROUND = np.array([0.008, 0.010, 0.020])
GAS_COLOURS = (np.array([0.10, 0.20, 0.32]), np.array([0.26, 0.10, 0.28]))
STAR_COUNT = 22000
STAR_SEED = 20231
GAS_SEED = 611


# --- Directions ------------------------------------------------------------

def face_directions(normal, right, down, size):
    """The unit direction of every pixel centre of a face, size x size x 3."""
    steps = (np.arange(size) + 0.5) / size * 2.0 - 1.0
    ys, xs = np.meshgrid(steps, steps, indexing="ij")
    points = (np.asarray(normal, float)[None, None, :]
              + xs[..., None] * np.asarray(right, float)
              + ys[..., None] * np.asarray(down, float))
    return points / np.linalg.norm(points, axis=2, keepdims=True)


def band_weight(directions):
    """1 on the band's circle, fading away from it."""
    height = directions @ BAND_POLE
    return np.exp(-(height / BAND_WIDTH) ** 2)


# --- The gas -----------------------------------------------------------------

class LatticeNoise:
    """Smooth 3D value noise from a fixed random lattice, tiled every SIZE."""
    SIZE = 64

    def __init__(self, seed):
        self.values = np.random.default_rng(seed).random((self.SIZE,) * 3)

    def __call__(self, points):
        cell = np.floor(points)
        frac = points - cell
        frac = frac * frac * (3.0 - 2.0 * frac)
        base = cell.astype(np.int64) % self.SIZE
        total = np.zeros(points.shape[:-1])
        for corner in range(8):
            offset = np.array([(corner >> 2) & 1, (corner >> 1) & 1, corner & 1])
            index = (base + offset) % self.SIZE
            weight = np.prod(np.where(offset == 1, frac, 1.0 - frac), axis=-1)
            total += weight * self.values[index[..., 0], index[..., 1], index[..., 2]]
        return total


def fractal(noise, directions, frequency, octaves):
    total, amplitude, norm = 0.0, 1.0, 0.0
    for octave in range(octaves):
        total = total + amplitude * noise(directions * frequency * (2.0 ** octave) + 17.0 * octave)
        norm += amplitude
        amplitude *= 0.5
    return total / norm


def gas(directions, shape_noise, tint_noise):
    """The glowing gas: wisps along the band, a little haze everywhere."""
    wisps = np.clip(fractal(shape_noise, directions, 3.0, 5) * 1.6 - 0.55, 0.0, 1.0) ** 1.8
    density = band_weight(directions) * (0.25 + wisps) + 0.04 * wisps
    tint = np.clip(fractal(tint_noise, directions, 1.5, 3) * 2.0 - 0.5, 0.0, 1.0)[..., None]
    colour = GAS_COLOURS[0] * (1.0 - tint) + GAS_COLOURS[1] * tint
    return density[..., None] * colour * 1.1


def enlarged(layer):
    """A face's gas drawn at GAS_CELL, smoothly enlarged to CELL."""
    channels = [Image.fromarray(layer[..., c].astype(np.float32), "F").resize((CELL, CELL), Image.BICUBIC)
                for c in range(3)]
    return np.dstack([np.asarray(channel, dtype=np.float64) for channel in channels])


# --- The stars ---------------------------------------------------------------------

def stars():
    """Directions, brightness and colours of the stars: most faint, a few
    bright; more of them in the band."""
    rng = np.random.default_rng(STAR_SEED)
    candidates = rng.normal(size=(STAR_COUNT * 3, 3))
    candidates /= np.linalg.norm(candidates, axis=1, keepdims=True)
    keep = rng.random(len(candidates)) < 0.25 + 0.75 * band_weight(candidates)
    directions = candidates[keep][:STAR_COUNT]
    count = len(directions)
    brightness = 0.07 + 0.93 * rng.random(count) ** 6.0
    # Hot blue-white to cool orange, most near white.
    warmth = np.clip(rng.normal(0.5, 0.18, count), 0.0, 1.0)[:, None]
    colours = (np.array([0.72, 0.82, 1.0]) * (1.0 - warmth) + np.array([1.0, 0.84, 0.62]) * warmth)
    return directions, brightness, colours


def splat_stars(image, normal, right, down, directions, brightness, colours):
    """Each star in front of the face as a small soft disc where it projects;
    stars near an edge land on both faces, so the edge shows no seam."""
    normal, right, down = (np.asarray(v, float) for v in (normal, right, down))
    facing = directions @ normal
    margin = 4.0 / CELL
    for direction, bright, colour, ahead in zip(directions, brightness, colours, facing):
        if ahead <= 0.0:
            continue
        point = direction / ahead
        x = (point @ right + 1.0) * 0.5 * CELL - 0.5
        y = (point @ down + 1.0) * 0.5 * CELL - 0.5
        if not (-margin * CELL <= x <= CELL * (1 + margin) and -margin * CELL <= y <= CELL * (1 + margin)):
            continue
        radius = 0.55 + 1.1 * bright
        reach = int(np.ceil(radius * 2.5))
        x0, y0 = int(np.floor(x)), int(np.floor(y))
        xs = np.arange(max(0, x0 - reach), min(CELL, x0 + reach + 2))
        ys = np.arange(max(0, y0 - reach), min(CELL, y0 + reach + 2))
        if len(xs) == 0 or len(ys) == 0:
            continue
        dx = xs[None, :] - x
        dy = ys[:, None] - y
        glow = np.exp(-(dx * dx + dy * dy) / (2.0 * radius * radius)) * bright * 1.6
        image[ys[0]:ys[-1] + 1, xs[0]:xs[-1] + 1] += glow[..., None] * colour


# --- The cross ---------------------------------------------------------------------

def sky():
    cross = np.zeros((ROWS * CELL, COLUMNS * CELL, 3))
    shape_noise, tint_noise = LatticeNoise(GAS_SEED), LatticeNoise(GAS_SEED + 1)
    star_directions, brightness, colours = stars()
    for (column, row), normal, right, down in FACES:
        directions = face_directions(normal, right, down, GAS_CELL)
        face = BACKGROUND + np.clip(enlarged(gas(directions, shape_noise, tint_noise)), 0.0, None)
        splat_stars(face, normal, right, down, star_directions, brightness, colours)
        cross[row * CELL:(row + 1) * CELL, column * CELL:(column + 1) * CELL] = face
    # A gentle curve keeps the brightest stars from clipping flat.
    shaped = 1.0 - np.exp(-cross * 1.4)
    pixels = np.clip(np.round(shaped / (1.0 - np.exp(-1.4)) * 255.0), 0, 255).astype(np.uint8)
    return Image.fromarray(pixels, "RGB")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    temporary = os.path.join(folder, "sky1.png.tmp")
    sky().save(temporary, format="PNG", optimize=False)
    os.replace(temporary, os.path.join(folder, "sky1.png"))


if __name__ == "__main__":
    main()
