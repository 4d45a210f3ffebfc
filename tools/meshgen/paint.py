"""Texture painting: diffuse, emissive, specular and normal maps for a mesh,
painted region by region in model coordinates (see atlas.py), so panel
seams, stripes and windows land where they are on the hull.
"""

from dataclasses import dataclass, field

import numpy as np
from PIL import Image

from atlas import REGIONS, TILES, hull_projections


@dataclass
class Livery:
    """How a hull is painted."""
    style: str                    # "plated", "rock" or "creature"
    hull: tuple                   # base colour, 0..1
    accent: tuple                 # stripes, fins, markings
    dark: tuple = (0.16, 0.17, 0.19)
    glass: tuple = (0.10, 0.16, 0.26)
    window: tuple = (1.0, 0.86, 0.55)   # lit windows
    engine: tuple = (0.45, 0.75, 1.0)   # engine glow
    panel: float = 12.0           # panel size in model units
    markings: str = "none"        # "stripes", "chevrons", "hazard" or "none"
    windows: list = field(default_factory=list)  # (region, from, to, height, spacing) in model units
    shine: float = 0.55           # specular strength of the plating


def _noise(rng, size, cells):
    """Smooth value noise in 0..1: random values on a coarse grid, interpolated."""
    grid = (rng.random((cells, cells)) * 255).astype(np.uint8)
    image = Image.fromarray(grid, "L").resize((size, size), Image.BICUBIC)
    return np.asarray(image, dtype=np.float64) / 255.0


def _fractal(rng, size, octaves=4, base=4):
    total, weight, amplitude = np.zeros((size, size)), 0.0, 1.0
    for octave in range(octaves):
        total += amplitude * _noise(rng, size, base * 2 ** octave)
        weight += amplitude
        amplitude *= 0.5
    return total / weight


def _hash(a, b, seed):
    """A steady pseudo-random number in 0..1 for integer grid cells."""
    h = (a.astype(np.int64) * 73856093) ^ (b.astype(np.int64) * 19349663) ^ seed
    h = (h ^ (h >> 13)) * 1274126177
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


class Canvas:
    """The four maps of one texture, painted through masks."""

    def __init__(self, size):
        self.size = size
        self.diffuse = np.zeros((size, size, 3))
        self.emissive = np.zeros((size, size, 3))
        self.specular = np.zeros((size, size))
        self.height = np.zeros((size, size))

    def rect_mask(self, rect):
        left, top, right, bottom = (int(round(v * self.size)) for v in rect)
        mask = np.zeros((self.size, self.size), dtype=bool)
        mask[top:bottom, left:right] = True
        return mask

    def texture_coordinates(self):
        centres = (np.arange(self.size) + 0.5) / self.size
        return np.meshgrid(centres, centres)  # u across, t down

    def save(self, folder, name, write):
        # Tangent space: x along the image's columns, y down its rows.
        gy, gx = np.gradient(self.height)
        normal = np.dstack([-gx * 0.8, -gy * 0.8, np.ones_like(gx)])
        normal /= np.linalg.norm(normal, axis=2, keepdims=True)
        maps = {
            "diffuse": self.diffuse,
            "emissive": self.emissive,
            "specular": np.dstack([self.specular] * 3),
            "normal": normal * 0.5 + 0.5,
        }
        for suffix, pixels in maps.items():
            rgb = (np.clip(pixels, 0, 1) * 255 + 0.5).astype(np.uint8)
            alpha = np.full((self.size, self.size, 1), 255, dtype=np.uint8)
            write(f"{folder}/{name}_{suffix}.png", Image.fromarray(np.concatenate([rgb, alpha], axis=2), "RGBA"))


def paint(mesh, livery, size, seed):
    """The canvas of a mesh painted in its livery."""
    rng = np.random.RandomState(seed)
    canvas = Canvas(size)
    u, t = canvas.texture_coordinates()
    grain = _fractal(rng, size)
    for region, projection in hull_projections(mesh).items():
        mask = canvas.rect_mask(REGIONS[region])
        a, b = projection.model(u, t)
        if livery.style == "rock":
            _rock(canvas, mask, a, b, grain, rng)
        elif livery.style == "creature":
            _creature(canvas, mask, a, b, region, livery, grain)
        else:
            _plates(canvas, mask, a, b, region, projection, livery, grain, seed)
            _markings(canvas, mask, a, b, region, projection, livery, mesh)
            _windows(canvas, mask, a, b, region, projection, livery, seed)
    _tiles(canvas, livery, grain)
    return canvas


def _plates(canvas, mask, a, b, region, projection, livery, grain, seed):
    """Hull plating: staggered rectangular panels of slightly different
    tone, recessed seams between them, and fine grain."""
    p = livery.panel
    row = np.floor(b / (p * 1.6))
    across = a / p + 0.5 * (row % 2)
    column = np.floor(across)
    tone = (_hash(column, row, seed) - 0.5) * 0.12
    seam_a = np.abs(across - np.round(across)) * p
    seam_b = np.abs(b / (p * 1.6) - np.round(b / (p * 1.6))) * p * 1.6
    pixel = 1.0 / (canvas.size * projection.scale)  # model units a texel covers
    seam = np.minimum(seam_a, seam_b) < max(p * 0.04, pixel * 0.75)
    base = np.array(livery.hull) * (1 + tone[..., None] + (grain[..., None] - 0.5) * 0.10)
    base = np.where(seam[..., None], base * 0.55, base)
    underside = 0.78 if region == "bottom" else 1.0
    canvas.diffuse[mask] = (base * underside)[mask]
    canvas.specular[mask] = np.where(seam, 0.15, livery.shine + tone * 1.5)[mask]
    canvas.height[mask] = np.where(seam, 0.0, 1.0 + tone * 2)[mask]


def _markings(canvas, mask, a, b, region, projection, livery, mesh):
    """Faction markings on the top: stripes along the spine, chevrons
    pointing to the bow, or hazard bands."""
    if region != "top" or livery.markings == "none":
        return
    lo, hi = mesh.bounds()
    half_width = max(abs(lo[0]), abs(hi[0]))
    length = hi[2] - lo[2]
    accent = np.array(livery.accent)
    x, z = a, b
    if livery.markings == "stripes":
        along = (z > lo[2] + 0.35 * length) & (z < hi[2] - 0.06 * length)
        paint = along & (np.abs(np.abs(x) - 0.22 * half_width) < 0.05 * half_width)
    elif livery.markings == "chevrons":
        v = (hi[2] - z) - 1.4 * np.abs(x)
        paint = ((np.mod(v, 0.12 * length) < 0.03 * length) & (v > 0.1 * length) & (v < 0.45 * length)
                 & (np.abs(x) < 0.6 * half_width))
    else:  # hazard
        paint = (np.mod(x + z, 18.0) < 9.0) & (np.abs(np.hypot(x, z) - 0.62 * half_width) < 0.05 * half_width)
    paint &= mask
    canvas.diffuse[paint] = accent * (0.9 + 0.1 * canvas.specular[paint, None])
    canvas.specular[paint] *= 1.1


def _windows(canvas, mask, a, b, region, projection, livery, seed):
    """Rows of lit windows: (region, from, to, height, spacing): along the
    hull (z on the sides, x at the front or back) from..to at height y."""
    if region not in ("side", "front", "back"):
        return
    a, b = projection.along_and_height(a, b)
    for where, start, end, at, spacing in livery.windows:
        if where != region:
            continue
        size = spacing * 0.32
        slot = np.floor((a - start) / spacing)
        inside = (a >= start) & (a <= end) & (np.abs(b - at) < size * 0.6)
        centre = start + (slot + 0.5) * spacing
        pane = inside & (np.abs(a - centre) < size * 0.5) & mask
        lit = pane & (_hash(slot, np.full_like(slot, round(at)), seed) > 0.25)
        canvas.diffuse[pane] = np.array(livery.glass)
        canvas.emissive[lit] = np.array(livery.window)
        canvas.specular[pane] = 0.9
        canvas.height[pane] = 0.4


def _rock(canvas, mask, a, b, grain, rng):
    tone = grain * 0.55 + 0.45 * _fractal(rng, canvas.size, octaves=5, base=8)
    colour = np.dstack([0.36 + 0.22 * tone, 0.32 + 0.18 * tone, 0.28 + 0.15 * tone])
    pits = _fractal(rng, canvas.size, octaves=2, base=12) > 0.68
    colour = np.where(pits[..., None], colour * 0.6, colour)
    canvas.diffuse[mask] = colour[mask]
    canvas.specular[mask] = (0.06 + 0.08 * tone)[mask]
    canvas.height[mask] = (tone * 3 - pits * 1.5)[mask]


def _creature(canvas, mask, a, b, region, livery, grain):
    """Overlapping scales and glowing veins along the body."""
    scale_size = livery.panel
    u, v = a / scale_size, b / scale_size
    cell = np.abs(np.mod(u + v, 1.0) - 0.5) + np.abs(np.mod(u - v, 1.0) - 0.5)
    edge = cell > 0.82
    shade = 0.75 + 0.35 * grain + 0.15 * (1 - cell)
    colour = np.array(livery.hull) * shade[..., None]
    colour = np.where(edge[..., None], colour * 0.5, colour)
    vein = np.abs(np.sin(b * 0.11 + np.sin(a * 0.07) * 2.0)) < 0.06
    canvas.diffuse[mask] = colour[mask]
    canvas.emissive[mask & vein] = np.array(livery.engine)
    canvas.specular[mask] = np.where(edge, 0.2, 0.7)[mask]
    canvas.height[mask] = (1 - cell * 1.2)[mask]


def _tiles(canvas, livery, grain):
    """The material tiles: accent paint, engine glow, glass, dark metal."""
    fills = {
        "accent": (np.array(livery.accent), np.zeros(3), 0.6),
        "engine": (np.array(livery.dark) * 0.8, np.array(livery.engine), 0.2),
        "glass": (np.array(livery.glass), np.array(livery.glass) * 1.8 + 0.08, 0.95),
        "dark": (np.array(livery.dark), np.zeros(3), 0.35),
    }
    for material, (diffuse, emissive, shine) in fills.items():
        mask = canvas.rect_mask(TILES[material])
        variation = (0.9 + 0.2 * grain)[..., None]
        canvas.diffuse[mask] = (diffuse * variation)[mask]
        canvas.emissive[mask] = (emissive * variation)[mask]
        canvas.specular[mask] = shine
        canvas.height[mask] = grain[mask] * 0.3
