#!/usr/bin/python3
"""Draws the 3D view's particle, ribbon and ring art into DATA_FOLDER/graphics:

  grid-particles-ss    hot particles: a 4 x 4 sheet of glowing cells (light on
                       black, alpha following the light), numbered along the
                       rows from the top left:
                         0 soft glow     1 hard dot      2 four-point star
                         3 six-point star
                         4 exhaust puff  5 ember         6 spark streak
                         7 hollow ring
                         8 flare: a hot core with rays   9 lens flare
                         10 plasma ball  11 crackle
                         12 debris chip  13 shockwave ring 14 cross glint
                         15 haze
  smoke-particles2-ss  smoke: a 4 x 4 sheet of white puffs of different
                       shapes (the colour comes from the particle)
  aster2               a mote of space dust: a small lit rock chip
  beamSet              ribbon textures: 8 columns, each a profile across the
                       ribbon (u) that runs along it (v); the trails use the
                       first column
  no-number-ring       the navigation reference ring: a band with degree
                       ticks, no numbers
  gas-ring             a black hole's gas: streaks along u (the ring repeats
                       the texture ten times round), faded towards both edges
                       of v

White or light on transparency, drawn from code with fixed seeds: two runs
give the same files. Usage: make_particle_art.py DATA_FOLDER
"""

import math
import os
import sys

import numpy as np
from PIL import Image

CELL = 128


def grid(size):
    """x, y in -1..1 across the square, pixel centres."""
    t = (np.arange(size) + 0.5) / size * 2.0 - 1.0
    return np.meshgrid(t, t)


def smooth_noise(size, seed, octaves=4, base=4):
    rng = np.random.default_rng(seed)
    total = np.zeros((size, size))
    amplitude, weight = 1.0, 0.0
    for octave in range(octaves):
        cells = base * 2 ** octave
        values = rng.uniform(0.0, 1.0, (cells + 1, cells + 1))
        layer = np.asarray(Image.fromarray((values * 255).astype(np.uint8), "L")
                           .resize((size, size), Image.BICUBIC), dtype=np.float64) / 255.0
        total += amplitude * layer
        weight += amplitude
        amplitude *= 0.5
    return total / weight


def falloff(d, power=2.0):
    return np.clip(1.0 - d, 0.0, 1.0) ** power


def rgba(red, green, blue, alpha):
    channels = [Image.fromarray(np.clip(np.round(c * 255.0), 0, 255).astype(np.uint8), "L")
                for c in (red, green, blue, alpha)]
    return Image.merge("RGBA", channels)


def glow_cell(light):
    """Light on black, alpha the light: drawn added, or blended alike."""
    light = np.clip(light, 0.0, 1.0)
    return rgba(light, light, light, light)


def star(x, y, points, sharpness, turn=0.0):
    a = np.arctan2(y, x) + turn
    return np.abs(np.cos(a * points / 2.0)) ** sharpness


# --- Hot particles -----------------------------------------------------------

def hot_cell(n):
    x, y = grid(CELL)
    d = np.hypot(x, y)
    a = np.arctan2(y, x)
    rng = np.random.default_rng(100 + n)
    if n == 0:
        light = falloff(d, 2.5)
    elif n == 1:
        light = falloff(d / 0.45, 0.6) + 0.3 * falloff(d, 3.0)
    elif n == 2:
        light = falloff(d, 6.0) * 1.4 + star(x, y, 4, 40) * falloff(d, 1.5)
    elif n == 3:
        light = falloff(d, 6.0) * 1.4 + star(x, y, 6, 60, 0.3) * falloff(d, 1.8) * 0.8
    elif n == 4:
        wisps = smooth_noise(CELL, 400, 3, 3)
        light = falloff(d, 1.6) * (0.55 + 0.6 * wisps) + falloff(d / 0.35, 1.0) * 0.5
    elif n == 5:
        light = falloff(d / 0.6, 2.0) * (0.6 + 0.4 * smooth_noise(CELL, 500, 2, 6))
    elif n == 6:
        light = np.exp(-(y / 0.08) ** 2) * falloff(np.abs(x), 1.2) + falloff(d / 0.3, 2.0)
    elif n == 7:
        light = np.exp(-((d - 0.7) / 0.08) ** 2) + 0.15 * falloff(d, 2.0)
    elif n == 8:
        rays = sum(np.exp(-((np.mod(a - r, math.pi) - math.pi / 2) / 0.03) ** 2) for r in rng.uniform(0, math.pi, 6))
        light = falloff(d, 4.0) * 0.9 + falloff(d / 0.22, 1.0) + rays * falloff(d, 1.2) * 0.55
    elif n == 9:
        light = falloff(d / 0.3, 2.0) + 0.5 * np.exp(-((d - 0.62) / 0.05) ** 2) + 0.25 * np.exp(-((d - 0.85) / 0.03) ** 2)
    elif n == 10:
        # A hot core in a soft glow, round about its centre, the swirl kept
        # to the faint outer glow: a streak draws this cell's middle row all
        # along its length, so that row is the streak's cross-section.
        swirl = smooth_noise(CELL, 1000, 3, 5)
        light = (np.exp(-(d / 0.14) ** 2) + np.exp(-(d / 0.38) ** 2) * 0.45
                 + falloff(d, 2.0) * (0.12 + 0.12 * swirl))
    elif n == 11:
        crack = np.zeros_like(d)
        for k in range(5):
            angle = rng.uniform(-math.pi, math.pi)
            wobble = 0.15 * np.sin(d * rng.uniform(8, 14) + k)
            crack += np.exp(-((np.angle(np.exp(1j * (a - angle - wobble)))) / 0.05) ** 2) * falloff(d, 1.0)
        light = crack + falloff(d / 0.25, 2.0)
    elif n == 12:
        shape = d * (1.0 + 0.35 * np.sin(3 * a + 0.7) + 0.2 * np.sin(5 * a + 2.1))
        light = np.where(shape < 0.45, 0.55 + 0.45 * (x - y + 1.0) / 2.0, 0.0) * falloff(shape / 0.5, 0.3)
    elif n == 13:
        light = np.exp(-((d - 0.78) / 0.12) ** 2) * (0.7 + 0.3 * smooth_noise(CELL, 1300, 2, 8))
    elif n == 14:
        light = (np.exp(-(x / 0.04) ** 2) + np.exp(-(y / 0.04) ** 2)) * falloff(d, 1.5) + falloff(d / 0.25, 2.0)
    else:
        light = falloff(d, 1.2) * smooth_noise(CELL, 1500, 4, 3) * 0.8
    return glow_cell(light)


def sheet(cell_maker):
    image = Image.new("RGBA", (CELL * 4, CELL * 4), (0, 0, 0, 0))
    for n in range(16):
        image.paste(cell_maker(n), ((n % 4) * CELL, (n // 4) * CELL))
    return image


# --- Smoke ---------------------------------------------------------------------

def smoke_cell(n):
    x, y = grid(CELL)
    rng = np.random.default_rng(2000 + n)
    cx, cy = rng.uniform(-0.08, 0.08, 2)
    d = np.hypot(x - cx, y - cy)
    a = np.arctan2(y - cy, x - cx)
    lobes = 1.0 + 0.07 * np.sin(rng.integers(2, 6) * a + rng.uniform(0, 6.3)) \
        + 0.04 * np.sin(rng.integers(5, 9) * a + rng.uniform(0, 6.3))
    cloud = smooth_noise(CELL, 2100 + n, 4, 3)
    density = falloff(d * lobes / 0.95, 1.1) * np.clip(cloud * 1.3 - 0.05, 0.0, 1.0)
    shade = 0.75 + 0.25 * np.clip(0.5 - (x + y) * 0.35 + cloud * 0.3, 0.0, 1.0)
    return rgba(shade, shade, shade, np.clip(density * 1.3, 0.0, 1.0))


# --- Dust ----------------------------------------------------------------------

def dust_mote():
    size = 64
    x, y = grid(size)
    d = np.hypot(x, y)
    a = np.arctan2(y, x)
    edge = 0.62 * (1.0 + 0.22 * np.sin(3 * a + 0.4) + 0.12 * np.sin(7 * a + 1.3))
    body = np.clip((edge - d) / 0.06, 0.0, 1.0)
    grain = smooth_noise(size, 3000, 3, 4)
    lit = np.clip(0.55 + 0.45 * (-x * 0.6 - y * 0.8) / np.maximum(d, 0.3) * np.minimum(d / edge, 1.0), 0.2, 1.0)
    tone = lit * (0.7 + 0.3 * grain)
    return rgba(tone * 0.92, tone * 0.88, tone * 0.82, body)


# --- Ribbons -------------------------------------------------------------------

def beam_set():
    width, height, columns = 256, 256, 8
    column = width // columns
    image = np.zeros((height, width, 4))
    u = (np.arange(column) + 0.5) / column * 2.0 - 1.0
    v = (np.arange(height) + 0.5) / height
    for c in range(columns):
        profiles = [
            np.exp(-(u / 0.35) ** 2) * 0.8 + np.exp(-(u / 0.1) ** 2),       # trail: soft with a hot core
            np.exp(-(u / 0.2) ** 2) * 1.2,                                # narrow beam
            np.exp(-(u / 0.6) ** 2) * 0.7,                                # wide glow
            np.exp(-((np.abs(u) - 0.55) / 0.12) ** 2) + np.exp(-(u / 0.12) ** 2) * 0.6,  # twin rails
            np.clip(1.0 - np.abs(u), 0.0, 1.0) ** 0.7,                     # flat band
            np.exp(-(u / 0.3) ** 2),                                      # pulsed beam (along v below)
            np.exp(-(u / 0.15) ** 2) * 1.1,                               # crackle (along v below)
            np.exp(-(u / 0.45) ** 2) * 0.9,                               # haze
        ]
        across = np.clip(profiles[c], 0.0, 1.0)
        along = np.ones_like(v)
        if c == 5:
            along = 0.55 + 0.45 * np.cos(v * math.pi * 16) ** 2
        elif c == 6:
            along = 0.4 + 0.6 * np.abs(np.sin(v * 91.0) * np.sin(v * 37.0 + 1.0))
        elif c == 7:
            along = 0.6 + 0.4 * smooth_noise(height, 7000, 3, 4)[:, 0]
        light = np.clip(along[:, None] * across[None, :], 0.0, 1.0)
        for channel in range(4):
            image[:, c * column:(c + 1) * column, channel] = light
    return rgba(image[..., 0], image[..., 1], image[..., 2], image[..., 3])


# --- Rings ---------------------------------------------------------------------

def nav_ring():
    size = 512
    x, y = grid(size)
    d = np.hypot(x, y)
    a = np.degrees(np.arctan2(x, -y)) % 360.0
    band = np.exp(-((d - 0.9) / 0.012) ** 2) * 0.9 + np.exp(-((d - 0.8) / 0.006) ** 2) * 0.5
    fine = np.minimum(np.abs(((a + 2.5) % 5.0) - 2.5), 9.0)
    coarse = np.abs(((a + 15.0) % 30.0) - 15.0)
    width_deg = 0.35 / np.maximum(d, 0.05)
    ticks = np.where((fine < width_deg) & (d > 0.84) & (d < 0.9), 0.55, 0.0)
    ticks = np.maximum(ticks, np.where((coarse < width_deg * 1.8) & (d > 0.74) & (d < 0.92), 1.0, 0.0))
    bow = np.where((np.abs(((a + 180.0) % 360.0) - 180.0) < 4.0) & (d > 0.92) & (d < 0.97), 1.0, 0.0)
    light = np.clip(np.maximum(np.maximum(band, ticks), bow), 0.0, 1.0)
    return rgba(np.ones_like(light), np.ones_like(light), np.ones_like(light), light)


def gas_ring():
    width, height = 256, 128
    rng = np.random.default_rng(8000)
    u = (np.arange(width) + 0.5) / width
    v = (np.arange(height) + 0.5) / height
    streaks = np.zeros((height, width))
    for _ in range(40):
        centre = rng.uniform(0.05, 0.95)
        thickness = rng.uniform(0.01, 0.05)
        phase = rng.uniform(0.0, 2.0 * math.pi)
        strength = rng.uniform(0.3, 1.0)
        waves = rng.integers(1, 4)
        # Whole waves across u, so the ten repeats round the ring join.
        path = centre + 0.04 * np.sin(u * 2.0 * math.pi * waves + phase)
        streaks += strength * np.exp(-((v[:, None] - path[None, :]) / thickness) ** 2)
    edges = np.sin(v * math.pi) ** 1.5
    light = np.clip(streaks * 0.45, 0.0, 1.0) * edges[:, None]
    return rgba(light, light, light, light)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = os.path.join(sys.argv[1], "graphics")
    os.makedirs(folder, exist_ok=True)
    art = {
        "grid-particles-ss": sheet(hot_cell),
        "smoke-particles2-ss": sheet(smoke_cell),
        "aster2": dust_mote(),
        "beamSet": beam_set(),
        "no-number-ring": nav_ring(),
        "gas-ring": gas_ring(),
    }
    for name, image in art.items():
        path = os.path.join(folder, name + ".png")
        temporary = path + ".tmp"
        image.save(temporary, format="PNG", optimize=False)
        os.replace(temporary, path)


if __name__ == "__main__":
    main()
