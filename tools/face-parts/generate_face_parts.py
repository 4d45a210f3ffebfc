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
import math
import multiprocessing
import pathlib

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

CELL = 512  # a part's cell: the whole portrait square
PITCH = 514  # cells lie one gutter pixel apart on every side
SS = 2  # drawn at twice the size, then averaged down for smooth edges
N = CELL * SS

CX = 256  # the face's middle
EYE_Y = 216
EYE_DX = 46  # eye centres lie this far either side of the middle
BROW_Y = 190
MOUTH_Y = 308
LIGHT = np.array([-0.45, -0.6, 0.66])  # from the upper left, towards the viewer
LIGHT = LIGHT / np.linalg.norm(LIGHT)

LIP_ROSE = (0.93, 0.66, 0.64)


# ---------------------------------------------------------------- shapes


def scaled(points):
    return [(x * SS, y * SS) for x, y in points]


def mask_of(draw):
    """A mask (0..1 floats, N x N) of what draw(ImageDraw) paints."""
    image = Image.new("L", (N, N), 0)
    draw(ImageDraw.Draw(image))
    return np.asarray(image, dtype=np.float32) / 255.0


def polygon(points):
    return mask_of(lambda d: d.polygon(scaled(points), fill=255))


def ellipse(cx, cy, rx, ry):
    return mask_of(lambda d: d.ellipse([(cx - rx) * SS, (cy - ry) * SS, (cx + rx) * SS, (cy + ry) * SS], fill=255))


def polyline(points, width):
    return mask_of(lambda d: d.line(scaled(points), fill=255, width=max(1, round(width * SS)), joint="curve"))


def cubic(p0, p1, p2, p3, steps=24):
    """Points along a cubic Bezier curve, p0 included, p3 included."""
    t = np.linspace(0.0, 1.0, steps)[:, None]
    p0, p1, p2, p3 = (np.array(p, dtype=float) for p in (p0, p1, p2, p3))
    curve = (1 - t) ** 3 * p0 + 3 * (1 - t) ** 2 * t * p1 + 3 * (1 - t) * t**2 * p2 + t**3 * p3
    return [tuple(p) for p in curve]


def path(start, *segments):
    """A chain of cubic segments: each segment is (control, control, end)."""
    points = [start]
    for c1, c2, end in segments:
        points += cubic(points[-1], c1, c2, end)[1:]
    return points


def mirrored(points):
    """The points reflected about the face's middle, in reverse order."""
    return [(2 * CX - x, y) for x, y in reversed(points)]


def symmetric(right_side):
    """A closed outline from its right half, drawn from the top middle down."""
    return right_side + mirrored(right_side)


def tapered_stroke(points, start_width, end_width):
    """A filled stroke along points whose width changes from start to end."""
    pts = np.array(points, dtype=float)
    tangents = np.gradient(pts, axis=0)
    tangents /= np.maximum(np.linalg.norm(tangents, axis=1, keepdims=True), 1e-6)
    normals = np.stack([-tangents[:, 1], tangents[:, 0]], axis=1)
    widths = np.linspace(start_width, end_width, len(pts))[:, None] / 2
    left = pts + normals * widths
    right = pts - normals * widths
    return polygon([tuple(p) for p in left] + [tuple(p) for p in right[::-1]])


# ---------------------------------------------------------------- mask arithmetic

# Cell coordinates of every drawing pixel.
Y, X = (grid.astype(np.float32) / SS for grid in np.mgrid[0:N, 0:N])


def region(a, margin):
    """The slices of the box around what is not zero in a, grown by margin
    cell pixels; None when a is zero everywhere. Work on a part's own box is
    what keeps drawing 60 cells quick."""
    rows = np.flatnonzero(a.any(axis=1))
    if len(rows) == 0:
        return None
    columns = np.flatnonzero(a.any(axis=0))
    m = int(math.ceil(margin * SS))
    return (slice(max(0, rows[0] - m), min(N, rows[-1] + 1 + m)),
            slice(max(0, columns[0] - m), min(N, columns[-1] + 1 + m)))


def box_blur(a, r):
    """Three box passes of radius r drawing pixels, close to a Gaussian."""
    out = a
    for _ in range(3):
        for axis in (0, 1):
            pad = [(r + 1, r) if i == axis else (0, 0) for i in range(2)]
            summed = np.cumsum(np.pad(out, pad, mode="edge"), axis=axis, dtype=np.float32)
            high = [slice(None)] * 2
            low = [slice(None)] * 2
            high[axis] = slice(2 * r + 1, None)
            low[axis] = slice(None, -2 * r - 1)
            out = (summed[tuple(high)] - summed[tuple(low)]) / (2 * r + 1)
    return out


def blur(a, radius):
    """A soft copy of the array, spread by about radius cell pixels."""
    out = np.zeros((N, N), dtype=np.float32)
    box = region(a, 3 * radius)
    if box is not None:
        out[box] = box_blur(a[box].astype(np.float32), max(1, int(radius * SS / 2)))
    return out


def eroded(mask, width):
    """The mask shrunk by width cell pixels."""
    out = np.zeros((N, N), dtype=np.float32)
    box = region(mask, 2 * width + 1)
    if box is not None:
        size = 2 * max(1, round(width * SS / 2)) + 1
        image = Image.fromarray((mask[box] * 255).astype(np.uint8), "L").filter(ImageFilter.MinFilter(size))
        out[box] = np.asarray(image, dtype=np.float32) / 255.0
    return out


def edge(mask, width):
    """The band of the mask within width cell pixels of its rim."""
    return np.clip(mask - eroded(mask, width), 0.0, 1.0)


def shifted(a, dx, dy):
    return np.roll(np.roll(a, round(dy * SS), axis=0), round(dx * SS), axis=1)


def union(*masks):
    return np.clip(np.maximum.reduce(masks), 0.0, 1.0)


def cut(mask, hole):
    return np.clip(mask - hole, 0.0, 1.0)


def form(mask, radius, ambient=0.62, strength=1.6):
    """Light on a rounded form: the mask blurred into a dome, its slopes lit
    from the upper left. 1 on the lit top, down to ambient in shadow."""
    value = np.ones((N, N), dtype=np.float32)
    box = region(mask, 3 * radius)
    if box is None:
        return value
    height = box_blur(mask[box].astype(np.float32), max(1, int(radius * SS / 2)))
    gy, gx = np.gradient(height)
    k = strength * radius * SS
    normals = np.stack([-gx * k, -gy * k, np.ones_like(height)], axis=-1)
    normals /= np.linalg.norm(normals, axis=-1, keepdims=True)
    diffuse = np.clip(normals @ LIGHT.astype(np.float32), 0.0, 1.0)
    value[box] = ambient + (1.0 - ambient) * diffuse / LIGHT[2]
    return value


def noise(seed, scale):
    """Smooth noise, about -1..1, with blobs of roughly scale cell pixels."""
    rng = np.random.default_rng(seed)
    coarse = rng.standard_normal((max(2, N // (scale * SS)) + 2,) * 2).astype(np.float32)
    image = Image.fromarray(coarse, "F").resize((N, N), Image.BICUBIC)
    out = np.asarray(image, dtype=np.float32)
    return out / max(1e-6, float(np.abs(out).max()))


# ---------------------------------------------------------------- layers


class Layer:
    """A picture being painted: straight-alpha colour, painted over in order."""

    def __init__(self):
        self.rgb = np.zeros((N, N, 3), dtype=np.float32)
        self.alpha = np.zeros((N, N), dtype=np.float32)

    def paint(self, mask, colour, opacity=1.0):
        """Paints colour (a grey, an (r, g, b), or an array of either) through
        the mask over what is there."""
        box = region(mask, 0)
        if box is None:
            return
        m = np.clip(mask[box] * opacity, 0.0, 1.0)
        colour = np.asarray(colour, dtype=np.float32)
        if colour.ndim >= 2:
            colour = colour[box]
        if colour.ndim == 0 or colour.ndim == 2:
            colour = colour[..., None] * np.ones(3, dtype=np.float32)
        alpha = self.alpha[box]
        new_alpha = alpha + m * (1.0 - alpha)
        over = self.rgb[box] * (alpha * (1.0 - m))[..., None] + colour * m[..., None]
        self.rgb[box] = over / np.maximum(new_alpha, 1e-6)[..., None]
        self.alpha[box] = new_alpha

    def shade(self, mask, amount):
        """Darkens (amount below 0) or lightens what is painted, keeping its alpha."""
        box = region(mask, 0)
        if box is not None:
            factor = 1.0 + amount * mask[box]
            self.rgb[box] = np.clip(self.rgb[box] * factor[..., None], 0.0, 1.0)

    def cell(self):
        """The finished 512 x 512 RGBA cell. Colour is averaged by coverage;
        transparent pixels take the colour of what is near them, so smooth
        sampling never pulls a dark fringe out of the gaps."""
        small_p = averaged_down(self.rgb * self.alpha[..., None])
        small_a = averaged_down(self.alpha)
        colour = small_p / np.maximum(small_a, 1e-6)[..., None]
        near = np.stack([blur_cell(small_p[..., i]) for i in range(3)], axis=-1)
        near /= np.maximum(blur_cell(small_a), 1e-6)[..., None]
        colour = np.where(small_a[..., None] > 0.02, colour, near)
        rgba = np.concatenate([colour, small_a[..., None]], axis=-1)
        return np.clip(np.round(rgba * 255), 0, 255).astype(np.uint8)


def averaged_down(a):
    """The drawing-sized array averaged down to the cell, SS x SS pixels each."""
    return sum(a[dy::SS, dx::SS] for dy in range(SS) for dx in range(SS)) / (SS * SS)


def blur_cell(a):
    return np.asarray(Image.fromarray(a.astype(np.float32), "F").resize((32, 32), Image.BOX).resize(
        (CELL, CELL), Image.BILINEAR), dtype=np.float32)


def outlined(layer, mask, value=0.3, width=2.5, opacity=0.9):
    layer.paint(edge(mask, width), value, opacity)


# ---------------------------------------------------------------- backdrop


def backdrop_area(shape, inset):
    """The backdrop's shape, drawn inset cell pixels inside its rim."""
    if shape == "disc":
        return ellipse(CX, CX, 248 - inset, 248 - inset)
    if shape == "panel":
        box = [(8 + inset) * SS, (8 + inset) * SS, (504 - inset) * SS, (504 - inset) * SS]
        return mask_of(lambda d: d.rounded_rectangle(box, radius=(56 - inset) * SS, fill=255))
    if shape == "hexagon":
        r = 250 - inset * 1.15
        return polygon([(CX + r * math.cos(math.radians(a)), CX + r * math.sin(math.radians(a)))
                        for a in range(0, 360, 60)])
    return polygon([(inset, inset), (CELL - inset, inset), (CELL - inset, CELL - inset), (inset, CELL - inset)])


def backdrop(shape):
    layer = Layer()
    area = backdrop_area(shape, 0)
    glow = np.clip(1.0 - np.hypot(X - CX, Y - 200) / 330.0, 0.0, 1.0)
    value = 0.45 + 0.5 * glow**1.4
    if shape == "screen":
        value = value * (0.92 + 0.08 * (np.floor(Y / 3) % 2))
    layer.paint(area, value)
    layer.paint(cut(area, backdrop_area(shape, 3)), 1.0, 0.55)
    layer.paint(cut(backdrop_area(shape, 10), backdrop_area(shape, 11.5)), 0.85, 0.35)
    return layer


# ---------------------------------------------------------------- head


HEADS = {
    # half width, jaw corner, chin half width, chin y, skull top
    "oval": dict(w=96, jaw=(334, 312), chin_w=20, chin_y=352, top=78),
    "square": dict(w=101, jaw=(344, 324), chin_w=34, chin_y=352, top=80),
    "narrow": dict(w=88, jaw=(326, 322), chin_w=16, chin_y=362, top=72),
    "round": dict(w=104, jaw=(340, 302), chin_w=30, chin_y=342, top=84),
}


def head_outline(shape):
    h = HEADS[shape]
    w, (jx, jy), cw, cy, top = h["w"], h["jaw"], h["chin_w"], h["chin_y"], h["top"]
    right = path(
        (CX, top),
        ((CX + 0.6 * w, top), (CX + w, top + 45), (CX + w, 180)),
        ((CX + w, 205), (CX + w + 2, 225), (CX + w + 1, 245)),
        ((CX + w, 275), (jx + 6, jy - 24), (jx, jy)),
        ((jx - 10, jy + 18), (CX + cw + 18, cy), (CX + cw, cy + 1)),
        ((CX + cw * 0.5, cy + 2), (CX + 4, cy + 2), (CX, cy + 2)),
    )
    return symmetric(right)


def ear(side, shape):
    """One ear, side +1 right or -1 left: a rounded shell at the head's side."""
    x = CX + side * (HEADS[shape]["w"] + 5)
    return polygon(path(
        (x - side * 8, 212),
        ((x + side * 10, 202), (x + side * 19, 218), (x + side * 16, 238)),
        ((x + side * 13, 258), (x + side * 5, 266), (x - side * 6, 262)),
        ((x - side * 10, 248), (x - side * 12, 224), (x - side * 8, 212)),
    ))


def head(shape):
    layer = Layer()
    face = polygon(head_outline(shape))
    ears = union(ear(1, shape), ear(-1, shape))
    neck = polygon(path(
        (CX - 44, 280),
        ((CX - 44, 340), (CX - 48, 400), (CX - 50, 446)),
    ) + path(
        (CX + 50, 446),
        ((CX + 48, 400), (CX + 44, 340), (CX + 44, 280)),
    ))
    skin = union(face, ears)
    neck_light = form(neck, 30, ambient=0.55)
    under_jaw = blur(shifted(face, 0, 16), 10) * neck
    layer.paint(neck, 0.86 * neck_light * (1.0 - 0.28 * under_jaw))
    layer.paint(edge(neck, 2), 0.35, 0.6)

    value = 0.95 * form(skin, 46)
    inner_ears = union(*(ellipse(CX + s * (HEADS[shape]["w"] + 9), 236, 5, 14) for s in (1, -1)))
    value = value * (1.0 - 0.25 * blur(inner_ears, 5))
    for side in (1, -1):  # eye sockets and a touch of light on the cheekbones
        value = value * (1.0 - 0.09 * blur(ellipse(CX + side * EYE_DX, EYE_Y - 2, 30, 17), 14))
        value = value * (1.0 + 0.05 * blur(ellipse(CX + side * 56, 262, 20, 12), 14))
    value = value * (1.0 - 0.08 * blur(ellipse(CX, 330 + (HEADS[shape]["chin_y"] - 352) * 0.6, 26, 10), 10))
    layer.paint(ears, value)
    layer.paint(edge(ears, 2.5), 0.35, 0.85)
    layer.paint(face, value)
    outlined(layer, face, 0.32, 2.5)
    return layer


# ---------------------------------------------------------------- uniform and trim


def shoulders(neck_left, neck_right, neck_y):
    right = path(
        (neck_right, neck_y),
        ((neck_right + 40, neck_y + 6), (430, 410), (486, 446)),
        ((505, 460), (512, 480), (512, 512)),
    )
    left = mirrored(right)
    return polygon(right + [(512, 512), (0, 512)] + left)


def neck_opening(kind):
    if kind == "tunic":
        return polygon(path((CX - 50, 380), ((CX - 44, 426), (CX + 44, 426), (CX + 50, 380))))
    if kind == "jumpsuit":
        return polygon([(CX - 52, 380), (CX, 452), (CX + 52, 380)])
    return np.zeros((N, N), dtype=np.float32)


def collar(kind):
    if kind == "officer":
        return polygon(path((CX - 48, 366), ((CX, 374), (CX, 374), (CX + 48, 366))) +
                       [(CX + 64, 412), (CX - 64, 412)])
    if kind == "armour":
        return polygon(path((CX - 56, 372), ((CX, 382), (CX, 382), (CX + 56, 372))) +
                       [(CX + 76, 418), (CX - 76, 418)])
    opening = neck_opening(kind)
    return cut(blur(opening, 9) > 0.02, opening).astype(np.float32)


def pauldrons():
    return union(ellipse(92, 452, 84, 50), ellipse(420, 452, 84, 50))


def uniform(kind):
    layer = Layer()
    body = cut(shoulders(CX - 46, CX + 46, 388), neck_opening(kind))
    value = 0.84 * form(body, 60, ambient=0.5)
    folds = polyline(path((150, 470), ((170, 440), (200, 430), (215, 418))), 5)
    folds = union(folds, polyline(path((362, 470), ((342, 440), (312, 430), (297, 418))), 5))
    folds = union(folds, polyline(path((60, 512), ((80, 480), (96, 470), (120, 462))), 4))
    value = value * (1.0 - 0.22 * blur(folds, 6))
    layer.paint(body, value * (1.0 + 0.04 * noise(11, 6)))
    outlined(layer, body, 0.25, 2.5)
    band = collar(kind)
    layer.paint(band, 0.74 * form(band, 10, ambient=0.6))
    outlined(layer, band, 0.22, 2)
    if kind == "officer":
        layer.paint(polyline([(CX, 374), (CX, 512)], 3), 0.3, 0.8)
        for side in (1, -1):
            layer.paint(polyline([(CX + side * 60, 410), (CX + side * 18, 512)], 3), 0.35, 0.6)
    elif kind == "jumpsuit":
        layer.paint(polyline([(CX, 452), (CX, 512)], 4), 0.3, 0.9)
        for side in (1, -1):
            layer.paint(polyline([(CX + side * 95, 475), (CX + side * 140, 475)], 3), 0.35, 0.6)
    elif kind == "armour":
        plates = pauldrons()
        layer.paint(plates, 0.9 * form(plates, 24, ambient=0.5))
        outlined(layer, plates, 0.2, 2.5)
        chest = polygon(path((150, 512), ((180, 430), (332, 430), (362, 512))))
        layer.paint(edge(chest, 2.5), 0.25, 0.7)
    layer.shade(blur(shifted(band, 0, 10), 8) * cut(body, band), -0.25)
    return layer


def trim(kind):
    layer = Layer()
    if kind == "tunic":
        ring = edge(union(neck_opening(kind), collar(kind)), 3)
        layer.paint(ring, 0.95)
        badge = ellipse(330, 466, 13, 13)
        layer.paint(badge, 0.92 * form(badge, 6))
        outlined(layer, badge, 0.45, 1.2)
        layer.paint(cut(ellipse(330, 466, 7.5, 4.5), ellipse(330, 466, 5.5, 2.8)), 0.4)
        layer.paint(ellipse(336, 463, 2.2, 2.2), 0.4)
    elif kind == "officer":
        for side in (1, -1):
            board = polygon([(CX + side * 70, 404), (CX + side * 160, 418), (CX + side * 158, 434),
                             (CX + side * 68, 420)])
            layer.paint(board, 0.9 * form(board, 6))
            outlined(layer, board, 0.4, 1.2)
            for i in range(3):
                x = CX + side * (128 + i * 9)
                layer.paint(polyline([(x, 413 + i), (x - side * 2, 429 + i)], 2.5), 0.45)
        for x in (CX + 26, CX + 36):
            pip = ellipse(x, 392, 4, 4)
            layer.paint(pip, 0.95 * form(pip, 2))
    elif kind == "jumpsuit":
        for side in (1, -1):
            strap = tapered_stroke(path((CX + side * 78, 396), ((CX + side * 76, 440), (CX + side * 60, 480),
                                                                 (CX + side * 52, 512))), 14, 16)
            layer.paint(strap, 0.78 * form(strap, 5))
            outlined(layer, strap, 0.35, 1.5)
            buckle = mask_of(lambda d, s=side: d.rounded_rectangle(
                [(CX + s * 70 - 10) * SS, 462 * SS, (CX + s * 70 + 10) * SS, 478 * SS], radius=3 * SS, fill=255))
            layer.paint(buckle, 0.95 * form(buckle, 3))
            outlined(layer, buckle, 0.4, 1.2)
    else:
        plates = pauldrons()
        layer.paint(edge(plates, 5), 0.92)
        emblem = ellipse(CX, 470, 16, 16)
        layer.paint(emblem, 0.9 * form(emblem, 6))
        star = polygon([(CX + r * math.sin(a), 470 - r * math.cos(a))
                        for i, a in enumerate(np.linspace(0, 2 * math.pi, 11)[:-1]) for r in [(11, 4.5)[i % 2]]])
        layer.paint(star, 0.35)
    return layer


# ---------------------------------------------------------------- eyes


EYES = {
    # upper lid rise, lower lid drop, half width, outer corner lift, crease height
    "almond": dict(up=13, down=8, half=24, lift=3, crease=11),
    "round": dict(up=16, down=12, half=22, lift=0, crease=12),
    "narrow": dict(up=8, down=5, half=25, lift=4, crease=8),
    "hooded": dict(up=10, down=7, half=24, lift=-1, crease=5),
}


def eye_opening(shape, side):
    """The visible white of one eye (side +1 the portrait's right)."""
    e = EYES[shape]
    cx = CX + side * EYE_DX
    inner = (cx - side * e["half"], EYE_Y + 1)
    outer = (cx + side * e["half"], EYE_Y - e["lift"])
    upper = cubic(inner, (cx - side * 10, EYE_Y - e["up"] * 1.25), (cx + side * 12, EYE_Y - e["up"] * 1.2), outer)
    lower = cubic(outer, (cx + side * 12, EYE_Y + e["down"] * 1.1), (cx - side * 10, EYE_Y + e["down"] * 1.2),
                  inner)
    return upper, lower


def eyes(shape):
    layer = Layer()
    e = EYES[shape]
    for side in (1, -1):
        upper, lower = eye_opening(shape, side)
        white = polygon(upper + lower)
        shadow = blur(shifted(polygon(upper + [(upper[-1][0], upper[-1][1] - 20), (upper[0][0], upper[0][1] - 20)]),
                              0, 5), 4)
        corners = blur(union(ellipse(upper[0][0], upper[0][1], 5, 5), ellipse(upper[-1][0], upper[-1][1], 5, 5)), 4)
        layer.paint(white, 0.93 * (1.0 - 0.28 * shadow * white) * (1.0 - 0.2 * corners))
        crease = [(x, y - e["crease"] - 2) for x, y in upper[3:-3]]
        layer.paint(polyline(crease, 2), 0.4, 0.45)
        layer.paint(tapered_stroke(upper, 2.0 if side > 0 else 4.5, 4.5 if side > 0 else 2.0), 0.1)
        layer.paint(polyline(lower[2:-2], 1.4), 0.35, 0.55)
        for i in range(4):  # lashes at the outer corner
            t = 0.72 + i * 0.08
            x, y = upper[int(t * (len(upper) - 1))]
            layer.paint(polyline([(x, y), (x + side * (3 + i * 1.5), y - 5 - i * 0.5)], 1.6), 0.1, 0.9)
        if shape == "hooded":
            fold = tapered_stroke([(x, y - 6) for x, y in upper[2:]], 5, 2)
            layer.paint(blur(fold, 2), 0.5, 0.35)
    return layer


def iris(shape):
    layer = Layer()
    for side in (1, -1):
        upper, lower = eye_opening(shape, side)
        opening = eroded(polygon(upper + lower), 0.8)
        cx = CX + side * EYE_DX
        disc = ellipse(cx, EYE_Y + 1, 12.5, 12.5) * opening
        radial = np.clip(np.hypot(X - cx, Y - EYE_Y - 1) / 12.5, 0.0, 1.0)
        streaks = 0.08 * np.sin(np.arctan2(Y - EYE_Y - 1, X - cx) * 23.0)
        value = (0.9 - 0.45 * radial**2 + streaks) * (0.55 + 0.45 * (Y > EYE_Y - 4))
        layer.paint(disc, value)
        layer.paint(edge(ellipse(cx, EYE_Y + 1, 12.5, 12.5), 1.8) * opening, 0.2)
        layer.paint(ellipse(cx, EYE_Y + 1, 5.2, 5.2) * opening, 0.04)
        layer.paint(ellipse(cx - 4, EYE_Y - 3, 2.6, 2.6) * opening, 1.0, 0.95)
    return layer


# ---------------------------------------------------------------- brows, nose, mouth


BROWS = {
    # inner and outer end of the right brow, arch height, width at each end
    "straight": dict(inner=(274, 194), outer=(330, 190), arch=4, wi=9, wo=5),
    "arched": dict(inner=(274, 195), outer=(332, 194), arch=11, wi=8, wo=3.5),
    "stern": dict(inner=(270, 198), outer=(334, 184), arch=2, wi=12, wo=6),
    "thin": dict(inner=(276, 190), outer=(330, 186), arch=8, wi=4, wo=2),
}


def hair_texture(mask, seed, flow, count, length, width=1.6):
    """Strands through the mask, each following flow(x, y) -> angle in radians."""
    image = Image.new("L", (N, N), 128)
    draw = ImageDraw.Draw(image)
    rng = np.random.default_rng(seed)
    ys, xs = np.nonzero(mask > 0.5)
    if len(xs) == 0:
        return np.zeros((N, N), dtype=np.float32)
    for i in rng.integers(0, len(xs), count):
        x, y = xs[i] / SS, ys[i] / SS
        points = [(x, y)]
        for _ in range(length):
            a = flow(x, y) + rng.normal(0.0, 0.08)
            x, y = x + 3.0 * math.cos(a), y + 3.0 * math.sin(a)
            points.append((x, y))
        draw.line(scaled(points), fill=int(rng.integers(40, 230)), width=max(1, round(width * SS)))
    return (np.asarray(image, dtype=np.float32) - 128.0) / 128.0


def brows(shape):
    layer = Layer()
    b = BROWS[shape]
    for side in (1, -1):
        (ix, iy), (ox, oy) = b["inner"], b["outer"]
        if side < 0:
            ix, ox = 2 * CX - ix, 2 * CX - ox
        mid_x, mid_y = (ix + ox) / 2, (iy + oy) / 2 - b["arch"]
        points = cubic((ix, iy), (ix + (mid_x - ix) * 0.7, mid_y), (ox - (ox - mid_x) * 0.6, mid_y), (ox, oy))
        brow = blur(tapered_stroke(points, b["wi"], b["wo"]), 1.2)
        texture = hair_texture(brow, 7 if side > 0 else 8, lambda x, y, s=side: math.atan2(-0.25, s), 160, 5, 1.2)
        layer.paint(brow, 0.55 + 0.2 * texture)
    return layer


NOSES = {
    # nostril spread from the middle, tip height, tip half width, bump of the bridge
    "straight": dict(spread=15, tip=274, width=11, bump=0),
    "broad": dict(spread=21, tip=276, width=15, bump=0),
    "button": dict(spread=13, tip=268, width=10, bump=-2),
    "aquiline": dict(spread=15, tip=278, width=11, bump=5),
}


def nose(shape):
    layer = Layer()
    n = NOSES[shape]
    tip, spread = n["tip"], n["spread"]
    side_line = cubic((CX + 10, EYE_Y + 4), (CX + 12 + n["bump"], 240), (CX + 16, tip - 18), (CX + n["width"], tip - 4))
    layer.paint(blur(tapered_stroke(side_line, 1.5, 4.5), 3), 0.35, 0.55)
    layer.paint(blur(polyline([(CX - 10, EYE_Y + 6), (CX - 12, tip - 22)], 3), 4), 0.45, 0.25)
    for side in (1, -1):
        wing = cubic((CX + side * (spread - 6), tip - 10), (CX + side * (spread + 5), tip - 4),
                     (CX + side * (spread + 2), tip + 6), (CX + side * (spread - 4), tip + 6))
        layer.paint(blur(tapered_stroke(wing, 2.5, 1.2), 1.2), 0.35, 0.55)
        nostril = ellipse(CX + side * (spread - 8), tip + 4, 4.5, 2.4)
        layer.paint(blur(nostril, 1.5), 0.22, 0.7)
    shadow = blur(ellipse(CX + 4, tip + 12, spread + 4, 5), 5)
    layer.paint(shadow, 0.4, 0.35)
    layer.paint(blur(ellipse(CX - 3, tip - 6, 5, 4), 4), 1.0, 0.55)
    return layer


MOUTHS = {
    # corner lift, half width, upper and lower lip fullness, opening
    "neutral": dict(lift=0, half=27, upper=7, lower=9, open=0),
    "smile": dict(lift=6, half=30, upper=6, lower=8, open=0),
    "stern": dict(lift=-4, half=26, upper=4, lower=6, open=0),
    "speaking": dict(lift=1, half=25, upper=7, lower=9, open=7),
}


def mouth(expression):
    layer = Layer()
    m = MOUTHS[expression]
    half, lift, gap = m["half"], m["lift"], m["open"]
    y = MOUTH_Y
    left, right = (CX - half, y - lift), (CX + half, y - lift)
    upper_top = path(left, ((CX - half * 0.5, y - m["upper"] - 2), (CX - 8, y - m["upper"] - 3), (CX, y - m["upper"])),
                     ((CX + 8, y - m["upper"] - 3), (CX + half * 0.5, y - m["upper"] - 2), right))
    line = cubic(right, (CX + half * 0.4, y + 2 - lift * 0.2), (CX - half * 0.4, y + 2 - lift * 0.2), left)
    lower_line = [(x, yy + gap) for x, yy in line]
    lower_bottom = cubic(left, (CX - half * 0.55, y + gap + m["lower"] * 1.6), (CX + half * 0.55,
                                                                                 y + gap + m["lower"] * 1.6), right)
    upper_lip = polygon(upper_top + line)
    lower_lip = polygon(list(reversed(lower_line)) + lower_bottom[1:])
    rose = np.array(LIP_ROSE, dtype=np.float32)
    layer.paint(blur(ellipse(CX, y + gap + m["lower"] + 12, half * 0.6, 5), 5), 0.5, 0.3)
    if gap:
        inside = polygon(line + list(reversed(lower_line)))
        layer.paint(inside, 0.12)
        teeth = polygon(line + [(x, yy + 3) for x, yy in reversed(line)]) * inside
        layer.paint(teeth, 0.8, 0.85)
    layer.paint(upper_lip, (0.78 * form(upper_lip, 5, ambient=0.7))[..., None] * rose)
    layer.paint(lower_lip, (0.9 * form(lower_lip, 7, ambient=0.65))[..., None] * rose)
    layer.paint(blur(ellipse(CX - 4, y + gap + m["lower"] * 0.7, half * 0.35, 2.5), 2), 1.0, 0.35)
    layer.paint(tapered_stroke(line, 2.5, 2.5), 0.22, 0.9)
    for corner in (left, right):
        layer.paint(blur(ellipse(corner[0], corner[1], 3, 3), 2), 0.3, 0.5)
    return layer


# ---------------------------------------------------------------- hair


def crown_flow(cx, cy):
    """Strands that run away from a crown point."""
    return lambda x, y: math.atan2(y - cy, x - cx)


def hair_layer(mask, seed, flow, base=0.82, count=2600, length=14):
    layer = Layer()
    texture = hair_texture(mask, seed, flow, count, length)
    value = base * form(mask, 28, ambient=0.5) * (1.0 + 0.22 * texture)
    layer.paint(mask, np.clip(value, 0.0, 1.0))
    outlined(layer, mask, 0.28, 2, 0.55)
    return layer


def scalp(hairline=150, temple=232, top=70, width=104):
    """Hair close to the skull, from the hairline at the brow to the temples."""
    right = path(
        (CX, top),
        ((CX + 0.62 * width, top - 2), (CX + width + 4, top + 46), (CX + width + 4, 178)),
        ((CX + width + 5, 200), (CX + width + 2, temple - 10), (CX + width - 6, temple)),
        ((CX + width - 12, 200), (CX + width - 18, 170), (CX + 70, hairline)),
        ((CX + 40, hairline - 10), (CX + 14, hairline - 6), (CX, hairline - 4)),
    )
    return polygon(symmetric(right))


def fringe(hairline, lean, length=14, spread=74):
    """A fringe over the brow: locks that overlap into one mass with a
    scalloped lower edge."""
    locks = []
    for i, x in enumerate(np.linspace(CX - spread, CX + spread, 9)):
        drop = length * (1.0 - 0.55 * (abs(x - CX) / spread) ** 2) * (0.8 if i % 2 else 1.0)
        top = hairline - 14 + 0.004 * (x - CX) ** 2
        locks.append(tapered_stroke(cubic((x, top), (x + lean * 0.3, top + drop * 0.5), (x + lean * 0.8, top + drop),
                                          (x + lean, top + drop + 2)), 26, 2))
    return np.clip(blur(union(*locks), 1.2) * 1.6, 0.0, 1.0)


def hair(style):
    if style == "crop":
        mass = union(scalp(hairline=146, top=62, width=106), fringe(146, 8))
        return hair_layer(mass, 21, crown_flow(CX + 20, 60))
    if style == "side part":
        mass = union(scalp(hairline=146, top=60, width=108), fringe(148, 18, 18),
                     polygon(path((CX - 40, 150), ((CX + 10, 110), (CX + 80, 120), (CX + 110, 170)),
                                  ((CX + 60, 140), (CX, 150), (CX - 40, 150)))))
        layer = hair_layer(mass, 22, lambda x, y: 0.35 if x > CX - 40 else math.pi - 0.35)
        layer.paint(blur(polyline([(CX - 40, 74), (CX - 38, 140)], 2), 2), 0.3, 0.5)
        return layer
    if style == "swept back":
        return hair_layer(scalp(hairline=140, top=64), 23, lambda x, y: -math.pi / 2 + (x - CX) / 160.0, 0.8)
    if style == "buzz":
        mass = scalp(hairline=154, top=76, width=100)
        layer = Layer()
        rng = np.random.default_rng(24)
        dots = (rng.random((N, N)) < 0.35).astype(np.float32)
        layer.paint(mass, 0.55 + 0.3 * blur(dots, 0.8), 0.7)
        return layer
    if style == "long":
        falls = union(*(polygon(path((CX + s * 92, 150), ((CX + s * 126, 230), (CX + s * 118, 340),
                                                           (CX + s * 132, 440)),
                                      ((CX + s * 100, 445), (CX + s * 94, 340), (CX + s * 82, 170))))
                        for s in (1, -1)))
        mass = union(scalp(hairline=142, top=64, width=108), falls)
        return hair_layer(mass, 25, lambda x, y: math.pi / 2 if abs(x - CX) > 80 else math.atan2(y - 40, x - CX),
                          count=3400, length=20)
    if style == "bun":
        mass = union(scalp(hairline=146, top=72), ellipse(CX, 64, 40, 32))
        layer = hair_layer(mass, 26, crown_flow(CX, 64))
        knot = ellipse(CX, 64, 40, 32)
        layer.paint(edge(knot, 2), 0.35, 0.6)
        return layer
    if style == "crest":
        shaved = scalp(hairline=156, top=80, width=100)
        layer = Layer()
        layer.paint(shaved, 0.5, 0.35)
        crest = polygon(path((CX - 22, 150), ((CX - 34, 90), (CX - 26, 40), (CX, 26)),
                             ((CX + 26, 40), (CX + 34, 90), (CX + 22, 150))))
        crest_layer = hair_layer(crest, 27, lambda x, y: -math.pi / 2 + (x - CX) / 60.0)
        layer.paint(crest_layer.alpha, crest_layer.rgb[..., 0])
        return layer
    # curls: a rounded mass with a bumpy rim and ring-shaped strands
    mass = scalp(hairline=140, top=60, width=112)
    for a in np.linspace(math.pi * 0.95, math.pi * 2.05, 16):
        mass = union(mass, ellipse(CX + 112 * math.cos(a), 150 + 88 * math.sin(a), 20, 20))
    mass = cut(mass, polygon([(0, 220), (512, 220), (512, 512), (0, 512)]))
    layer = Layer()
    rng = np.random.default_rng(28)
    rings = Image.new("L", (N, N), 128)
    draw = ImageDraw.Draw(rings)
    ys, xs = np.nonzero(mass > 0.5)
    for i in rng.integers(0, len(xs), 900):
        x, y, r = xs[i] / SS, ys[i] / SS, rng.uniform(4, 9)
        draw.arc([(x - r) * SS, (y - r) * SS, (x + r) * SS, (y + r) * SS], rng.uniform(0, 360), rng.uniform(180, 520),
                 fill=int(rng.integers(40, 230)), width=3)
    texture = (np.asarray(rings, dtype=np.float32) - 128.0) / 128.0
    layer.paint(mass, np.clip(0.82 * form(mass, 30, ambient=0.5) * (1.0 + 0.25 * texture), 0.0, 1.0))
    outlined(layer, mass, 0.28, 2, 0.8)
    return layer


def hairback(style):
    if style == "long":
        mass = polygon(path((CX, 60), ((CX + 120, 60), (CX + 140, 220), (CX + 150, 470)),
                            ((CX + 60, 480), (CX - 60, 480), (CX - 150, 470)),
                            ((CX - 140, 220), (CX - 120, 60), (CX, 60))))
        return hair_layer(mass, 31, lambda x, y: math.pi / 2, 0.62, 3000, 22)
    if style == "ponytail":
        tail = polygon(path((CX + 70, 250), ((CX + 130, 280), (CX + 140, 380), (CX + 118, 470)),
                            ((CX + 100, 420), (CX + 96, 330), (CX + 60, 280))))
        return hair_layer(tail, 32, lambda x, y: math.pi / 2 - 0.2, 0.66, 900, 16)
    if style == "bob":
        mass = polygon(path((CX, 66), ((CX + 124, 66), (CX + 136, 200), (CX + 128, 318)),
                            ((CX + 70, 330), (CX - 70, 330), (CX - 128, 318)),
                            ((CX - 136, 200), (CX - 124, 66), (CX, 66))))
        return hair_layer(mass, 33, lambda x, y: math.pi / 2 if abs(x - CX) > 60 else -math.pi / 2, 0.64)
    mass = ellipse(CX, 176, 156, 150)
    mass = cut(mass, polygon([(0, 300), (512, 300), (512, 512), (0, 512)]))
    for a in np.linspace(0, 2 * math.pi, 22, endpoint=False):
        mass = union(mass, ellipse(CX + 150 * math.cos(a), 176 + 144 * math.sin(a), 18, 18) *
                     (176 + 144 * math.sin(a) < 300))
    return hair_layer(mass, 34, crown_flow(CX, 176), 0.66, 3600, 6)


def moustache():
    right = path((CX, MOUTH_Y - 13), ((CX + 16, MOUTH_Y - 19), (CX + 34, MOUTH_Y - 12), (CX + 38, MOUTH_Y + 4)),
                 ((CX + 26, MOUTH_Y - 3), (CX + 12, MOUTH_Y - 5), (CX, MOUTH_Y - 6)))
    return polygon(right + mirrored(right))


def full_beard():
    """Along the oval head's jaw from the sideburns to below the chin, open
    around the mouth."""
    h = HEADS["oval"]
    w, (jx, jy), chin_y = h["w"], h["jaw"], h["chin_y"]
    right = path(
        (CX, MOUTH_Y + 14),
        ((CX + 20, MOUTH_Y + 16), (CX + 36, MOUTH_Y + 6), (CX + 40, MOUTH_Y - 8)),
        ((CX + 58, 292), (CX + w - 10, 276), (CX + w - 4, 236)),
        ((CX + w + 4, 240), (CX + w + 4, 276), (jx + 6, jy + 2)),
        ((jx - 8, jy + 26), (CX + 40, chin_y + 16), (CX, chin_y + 18)),
    )
    return union(polygon(right + mirrored(right)), moustache())


def beard(style):
    layer = Layer()
    mouth_hole = ellipse(CX, MOUTH_Y + 1, 27, 9)
    if style == "stubble":
        jaw = polygon(head_outline("oval"))
        area = cut(jaw * polygon([(0, 250), (512, 250), (512, 512), (0, 512)]), mouth_hole)
        rng = np.random.default_rng(41)
        dots = (rng.random((N, N)) < 0.3).astype(np.float32)
        layer.paint(area * blur(dots, 0.7), 0.3, 0.55)
        return layer
    if style == "full":
        mass = cut(full_beard(), mouth_hole)
    elif style == "goatee":
        chin = polygon(path((CX, MOUTH_Y + 8), ((CX + 30, MOUTH_Y + 4), (CX + 34, 346), (CX, 362)),
                            ((CX - 34, 346), (CX - 30, MOUTH_Y + 4), (CX, MOUTH_Y + 8))))
        mass = cut(union(chin, moustache()), mouth_hole)
    else:
        mass = moustache()
    texture = hair_texture(mass, 40 + len(style), lambda x, y: math.pi / 2 + (x - CX) / 200.0, 1400, 6, 1.4)
    layer.paint(mass, np.clip(0.7 * form(mass, 16, ambient=0.55) * (1.0 + 0.3 * texture), 0.0, 1.0))
    layer.paint(edge(mass, 1.5), 0.3, 0.5)
    return layer


# ---------------------------------------------------------------- gear and alien features


def gear(kind):
    layer = Layer()
    if kind == "headset":
        band = polyline(path((CX - 112, 230), ((CX - 120, 40), (CX + 120, 40), (CX + 112, 230))), 9)
        layer.paint(band, 0.55 * form(band, 5), 0.95)
        cup = ellipse(CX + 112, 236, 16, 24)
        layer.paint(cup, 0.6 * form(cup, 10))
        outlined(layer, cup, 0.2, 2)
        boom = polyline(path((CX + 112, 250), ((CX + 100, 300), (CX + 70, 318), (CX + 36, 316))), 4)
        layer.paint(boom, 0.45)
        layer.paint(ellipse(CX + 34, 316, 6, 5), 0.3)
        layer.paint(ellipse(CX + 112, 236, 4, 4), 1.0)
    elif kind == "eyepatch":
        strap = polyline(path((CX - 104, 190), ((CX - 30, 170), (CX + 40, 190), (CX + 104, 224))), 4)
        layer.paint(strap, 0.2)
        patch = polygon(path((CX + 20, 204), ((CX + 40, 196), (CX + 66, 198), (CX + 72, 212)),
                             ((CX + 72, 232), (CX + 48, 240), (CX + 30, 234)), ((CX + 18, 226), (CX + 16, 212),
                                                                                 (CX + 20, 204))))
        layer.paint(patch, 0.22 * form(patch, 8))
        outlined(layer, patch, 0.05, 1.5)
    elif kind == "visor":
        band = mask_of(lambda d: d.rounded_rectangle([146 * SS, 198 * SS, 366 * SS, 234 * SS], radius=14 * SS,
                                                     fill=255))
        layer.paint(band, 0.7 + 0.3 * np.clip((234 - Y) / 36.0, 0.0, 1.0), 0.6)
        layer.paint(polyline([(170, 206), (230, 206)], 2.5), 1.0, 0.8)
        outlined(layer, band, 0.25, 2.5)
    else:
        plate = polygon(path((CX - 22, 196), ((CX - 40, 186), (CX - 74, 190), (CX - 86, 208)),
                             ((CX - 92, 236), (CX - 64, 246), (CX - 30, 238)), ((CX - 20, 226), (CX - 18, 206),
                                                                                 (CX - 22, 196))))
        plate = cut(plate, ellipse(CX - EYE_DX, EYE_Y, 20, 11))
        layer.paint(plate, 0.7 * form(plate, 6))
        outlined(layer, plate, 0.2, 1.5)
        for y in (200, 226):
            layer.paint(polyline([(CX - 88, y + 4), (CX - 104, y + 10)], 2), 0.4)
        layer.paint(ellipse(CX - 80, 214, 3.5, 3.5), 1.0)
    return layer


def alien(kind):
    layer = Layer()
    if kind == "pointed ears":
        for side in (1, -1):
            x = CX + side * 103
            tip = polygon(path((x - side * 6, 226), ((x + side * 6, 200), (x + side * 22, 176), (x + side * 34, 150)),
                               ((x + side * 30, 190), (x + side * 24, 214), (x + side * 20, 240))))
            layer.paint(tip, 0.95 * form(tip, 10))
            layer.paint(edge(tip, 2.5), 0.35, 0.85)
    elif kind == "ridges":
        for i, y in enumerate(range(150, 186, 9)):
            ridge = polyline(path((CX - 46 + i * 4, y + 4), ((CX - 20, y - 4), (CX + 20, y - 4), (CX + 46 - i * 4,
                                                                                                 y + 4))), 3)
            layer.paint(blur(ridge, 2), 0.45, 0.45)
            layer.paint(blur(shifted(ridge, 0, -3), 2), 1.0, 0.3)
        for y in range(226, 256, 8):
            layer.paint(blur(polyline([(CX - 5, y), (CX + 5, y)], 2.5), 1.5), 0.45, 0.5)
    elif kind == "antennae":
        for side in (1, -1):
            stalk = polyline(path((CX + side * 30, 96), ((CX + side * 40, 50), (CX + side * 70, 30),
                                                         (CX + side * 90, 24))), 5)
            layer.paint(stalk, 0.8 * form(stalk, 4))
            bulb = ellipse(CX + side * 92, 22, 11, 11)
            layer.paint(bulb, form(bulb, 6))
            outlined(layer, bulb, 0.3, 1.5)
    else:
        for side in (1, -1):
            for i in range(7):
                y = 176 + i * 15
                x = CX + side * (92 - i * 1.5 - (i * i) * 0.4)
                spot = ellipse(x, y, 4.5 - i * 0.35, 4.5 - i * 0.35)
                layer.paint(blur(spot, 1.2), 0.35, 0.85)
    return layer


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
