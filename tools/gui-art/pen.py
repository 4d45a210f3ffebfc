"""The pen the icon sheet is drawn with: shapes in unit coordinates on a
supersampled canvas, reduced to one cell."""

import math

import numpy as np
from PIL import Image, ImageDraw, ImageFont

CELL = 64          # pixels of one icon cell in the sheet
SUPERSAMPLE = 4    # icons are drawn this much larger, then reduced: smooth edges
CANVAS = CELL * SUPERSAMPLE
GLYPH_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


class Pen:
    """Draws in unit coordinates: (-1, -1) top left to (1, 1) bottom right of
    the cell's canvas; widths are in units too. erase=True cuts holes."""

    def __init__(self):
        self.image = Image.new("L", (CANVAS, CANVAS), 0)
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def px(v):
        return (v + 1.0) * 0.5 * (CANVAS - 1)

    def pt(self, p):
        return (self.px(p[0]), self.px(p[1]))

    def width(self, w):
        return max(1, int(round(w * 0.5 * CANVAS)))

    def poly(self, points, erase=False):
        self.draw.polygon([self.pt(p) for p in points], fill=0 if erase else 255)

    def circle(self, cx, cy, r, erase=False):
        self.draw.ellipse([self.pt((cx - r, cy - r)), self.pt((cx + r, cy + r))], fill=0 if erase else 255)

    def ring(self, cx, cy, r, w):
        self.circle(cx, cy, r)
        self.circle(cx, cy, r - w, erase=True)

    def rect(self, l, t, r, b, erase=False):
        self.draw.rectangle([self.pt((l, t)), self.pt((r, b))], fill=0 if erase else 255)

    def frame(self, l, t, r, b, w):
        self.rect(l, t, r, b)
        self.rect(l + w, t + w, r - w, b - w, erase=True)

    def line(self, points, w, erase=False):
        fill = 0 if erase else 255
        pts = [self.pt(p) for p in points]
        self.draw.line(pts, fill=fill, width=self.width(w), joint="curve")
        for p in (points[0], points[-1]):  # round caps
            self.circle(p[0], p[1], w / 2, erase)

    def arc(self, cx, cy, r, start, end, w, erase=False):
        """An arc of the circle from start to end degrees (0 = up, clockwise)."""
        steps = max(8, int(abs(end - start) / 4))
        pts = [(cx + r * math.sin(math.radians(start + (end - start) * i / steps)),
                cy - r * math.cos(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]
        self.line(pts, w, erase)

    def star(self, cx, cy, outer, inner, points=5, turn=0.0, erase=False):
        pts = []
        for i in range(points * 2):
            r = outer if i % 2 == 0 else inner
            a = math.radians(turn + 180.0 * i / points)
            pts.append((cx + r * math.sin(a), cy - r * math.cos(a)))
        self.poly(pts, erase)

    def regular(self, cx, cy, r, sides, turn=0.0, erase=False):
        pts = [(cx + r * math.sin(math.radians(turn + 360.0 * i / sides)),
                cy - r * math.cos(math.radians(turn + 360.0 * i / sides))) for i in range(sides)]
        self.poly(pts, erase)

    def arrow(self, direction, scale=1.0, cx=0.0, cy=0.0):
        """A block arrow pointing at direction degrees (0 = up, clockwise)."""
        shape = [(0, -0.8), (0.6, -0.1), (0.22, -0.1), (0.22, 0.75), (-0.22, 0.75), (-0.22, -0.1), (-0.6, -0.1)]
        a = math.radians(direction)
        rot = [(cx + scale * (x * math.cos(a) - y * math.sin(a)), cy + scale * (x * math.sin(a) + y * math.cos(a)))
               for x, y in shape]
        self.poly(rot)

    def glyph(self, text, size=1.1, cx=0.0, cy=0.0, erase=False):
        font = ImageFont.truetype(GLYPH_FONT, int(size * 0.5 * CANVAS))
        self.draw.text((self.px(cx), self.px(cy)), text, font=font, anchor="mm", fill=0 if erase else 255)

    def inset(self, draw, scale):
        """Another icon drawn smaller in the middle of this one."""
        inner = Pen()
        draw(inner)
        size = int(CANVAS * scale)
        small = inner.image.resize((size, size), Image.LANCZOS)
        offset = (CANVAS - size) // 2
        region = self.image.crop((offset, offset, offset + size, offset + size))
        self.image.paste(Image.fromarray(np.maximum(np.asarray(region), np.asarray(small))), (offset, offset))

    def result(self):
        return self.image.resize((CELL, CELL), Image.LANCZOS)


def mirrored(half):
    """A left-right symmetric outline from its right half, top to bottom."""
    return half + [(-x, y) for x, y in reversed(half)]


def person(p, cx=0.0, cy=0.0, s=1.0):
    p.circle(cx, cy - 0.45 * s, 0.22 * s)
    p.poly([(cx - 0.42 * s, cy + 0.7 * s), (cx - 0.38 * s, cy + 0.05 * s), (cx - 0.2 * s, cy - 0.15 * s),
            (cx + 0.2 * s, cy - 0.15 * s), (cx + 0.38 * s, cy + 0.05 * s), (cx + 0.42 * s, cy + 0.7 * s)])


