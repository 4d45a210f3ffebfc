"""What frames a face: the backdrop, the uniform with its trim, and gear."""

import math

import numpy as np

from canvas import (CELL, CX, N, SS, Layer, blur, cut, edge, ellipse, form, mask_of, mirrored, noise, outlined,
                    path, polygon, polyline, shifted, tapered_stroke, union, X, Y)
from face import EYE_DX, EYE_Y

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
        points = []
        for i in range(10):  # a five-pointed star: tips and notches by turns
            a, r = i * math.pi / 5, 11 if i % 2 == 0 else 4.5
            points.append((CX + r * math.sin(a), 470 - r * math.cos(a)))
        star = polygon(points)
        layer.paint(star, 0.35)
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
