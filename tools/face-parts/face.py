"""The face: head with ears and neck, eyes and irises, brows, nose, mouth and
the alien features, all drawn to one layout of the portrait square."""

import math

import numpy as np

from canvas import (CX, Layer, blur, cubic, edge, ellipse, eroded, form, hair_texture, outlined, path, polygon,
                    polyline, shifted, symmetric, tapered_stroke, union, X, Y)

EYE_Y = 216
EYE_DX = 46  # eye centres lie this far either side of the middle
MOUTH_Y = 308
LIP_ROSE = (0.93, 0.66, 0.64)


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


# ---------------------------------------------------------------- alien features


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
