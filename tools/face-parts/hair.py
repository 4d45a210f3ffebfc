"""Hair: the styles over the head, the masses behind it, and beards."""

import math

import numpy as np
from PIL import Image, ImageDraw

from canvas import (CX, N, SS, Layer, blur, cubic, cut, edge, ellipse, form, hair_texture, mirrored, outlined, path,
                    polygon, polyline, symmetric, tapered_stroke, union)
from face import HEADS, MOUTH_Y, head_outline

# ---------------------------------------------------------------- hair


def crown_flow(cx, cy):
    """Strands that run away from a crown point."""
    return lambda x, y: math.atan2(y - cy, x - cx)


def hair_layer(mask, seed, flow, base=0.82, count=2600, length=14):
    """A mass of hair: strands along the flow over a rounded, outlined form."""
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
