#!/usr/bin/python3
"""Draws the bridge consoles' own art into the data folder:

  graphics/mainScn/asset 1.png .. asset 10.png
                      the main screen control's image buttons: four angle
                      arrows, three camera modes and three views, white on
                      transparency with a caption, tinted when drawn
  graphics/starFilled.png, starHollow.png
                      the comms messages' marks: a gold five-pointed star,
                      solid or outlined, drawn at a tenth of its size
  graphics/torp_background_image.png
                      the torpedo panel's backdrop, its heavy edges at the
                      right and bottom (the widget mirrors it to face the
                      screen corner its box sits in), drawn in a dark tint

Everything is drawn from code, deterministically: two runs give the same
files. Usage: make_console_art.py DATA_FOLDER
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

SUPER = 4  # drawn this many times larger, then reduced: smooth edges
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
WHITE = (255, 255, 255, 255)
# The faint glass behind a button: enough to be seen as one control, and
# above the interface's click threshold (alpha 0.1), so the whole button
# answers a click, not only its lines.
GLASS = (255, 255, 255, 34)


class Canvas:
    """A white-on-transparency drawing in button pixels."""

    def __init__(self, width, height):
        self.size = (width, height)
        self.image = Image.new("RGBA", (width * SUPER, height * SUPER), (255, 255, 255, 0))
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def s(points):
        return [(x * SUPER, y * SUPER) for x, y in points]

    def poly(self, points, fill=WHITE):
        self.draw.polygon(self.s(points), fill=fill)

    def line(self, points, width, fill=WHITE):
        self.draw.line(self.s(points), fill=fill, width=int(width * SUPER), joint="curve")

    def ring(self, cx, cy, r, width, fill=WHITE):
        self.draw.ellipse([(cx - r) * SUPER, (cy - r) * SUPER, (cx + r) * SUPER, (cy + r) * SUPER],
                          outline=fill, width=int(width * SUPER))

    def disc(self, cx, cy, r, fill=WHITE):
        self.draw.ellipse([(cx - r) * SUPER, (cy - r) * SUPER, (cx + r) * SUPER, (cy + r) * SUPER], fill=fill)

    def frame(self, width=3, radius=14):
        w, h = self.size
        self.draw.rounded_rectangle([2 * SUPER, 2 * SUPER, (w - 2) * SUPER, (h - 2) * SUPER],
                                    radius=radius * SUPER, fill=GLASS, outline=WHITE, width=width * SUPER)

    def glass(self, radius=18):
        w, h = self.size
        self.draw.rounded_rectangle([2 * SUPER, 2 * SUPER, (w - 2) * SUPER, (h - 2) * SUPER],
                                    radius=radius * SUPER, fill=GLASS)

    def caption(self, text, y, size=13):
        font = ImageFont.truetype(FONT, size * SUPER)
        left, top, right, bottom = self.draw.textbbox((0, 0), text, font=font)
        x = (self.size[0] * SUPER - (right - left)) / 2 - left
        self.draw.text((x, y * SUPER - top), text, font=font, fill=WHITE)

    def result(self):
        return self.image.resize(self.size, Image.LANCZOS)


def ship(c, cx, cy, scale, fill=WHITE):
    """The own ship from above, bow up."""
    outline = [(0, -1.0), (0.32, -0.2), (0.8, 0.45), (0.8, 0.7), (0.25, 0.55), (0.18, 0.85),
               (-0.18, 0.85), (-0.25, 0.55), (-0.8, 0.7), (-0.8, 0.45), (-0.32, -0.2)]
    c.poly([(cx + x * scale, cy + y * scale) for x, y in outline], fill)


# --- The angle arrows: a broad chevron, its caption upright on the inner side.

def angle_arrow(direction, caption):
    """direction: 0 up, 1 right, 2 down, 3 left. The chevron is drawn
    pointing up in a 150 x 50 strip and turned into place."""
    chevron = [(75, 4), (146, 46), (118, 46), (75, 21), (32, 46), (4, 46)]
    tip = [(52, 46), (75, 33), (98, 46)]
    if direction in (0, 2):
        c = Canvas(150, 80)
        flip = (lambda x, y: (x, y)) if direction == 0 else (lambda x, y: (x, 80 - y))
        caption_y = 54 if direction == 0 else 6
    else:
        c = Canvas(112, 150)
        # Up becomes left (3) or right (1): x from the strip's y, y from its x.
        flip = (lambda x, y: (y, x)) if direction == 3 else (lambda x, y: (112 - y, x))
        caption_y = 67
    c.glass()
    for shape in (chevron, tip):
        c.poly([flip(x, y) for x, y in shape])
    if direction in (0, 2):
        c.caption(caption, caption_y)
    else:
        band = Canvas(62, 150)
        band.caption(caption, caption_y, size=12)
        c.image.alpha_composite(band.image, ((50 if direction == 3 else 0) * SUPER, 0))
    return c.result()


# --- The camera modes: a framed square each.

def inside_view():
    c = Canvas(104, 104)
    c.frame()
    # A cockpit frame seen from within, space beyond.
    c.line([(14, 72), (30, 30), (74, 30), (90, 72)], 5)
    c.line([(30, 30), (52, 16), (74, 30)], 4)
    for x, y in ((42, 52), (64, 44), (56, 62)):
        c.disc(x, y, 2.5)
    c.caption("INSIDE", 80)
    return c.result()


def chase_view():
    c = Canvas(104, 104)
    c.frame()
    ship(c, 52, 34, 20)
    # The camera's sight lines from behind.
    c.line([(52, 74), (34, 52)], 3)
    c.line([(52, 74), (70, 52)], 3)
    c.disc(52, 74, 5)
    c.caption("CHASE", 84)
    return c.result()


def tracking_view():
    c = Canvas(104, 104)
    c.frame()
    c.ring(52, 44, 24, 4)
    for a in range(4):
        dx, dy = math.cos(a * math.pi / 2), math.sin(a * math.pi / 2)
        c.line([(52 + dx * 14, 44 + dy * 14), (52 + dx * 34, 44 + dy * 34)], 4)
    c.disc(52, 44, 4)
    c.caption("TRACK", 82)
    return c.result()


# --- The views: wider framed buttons.

def tactical_view():
    c = Canvas(132, 104)
    c.frame()
    c.ring(66, 42, 30, 3)
    c.ring(66, 42, 15, 2)
    ship(c, 66, 42, 8)
    for x, y in ((86, 24), (44, 58), (90, 56)):
        c.poly([(x, y - 5), (x + 5, y), (x, y + 5), (x - 5, y)])
    c.caption("TACTICAL", 80)
    return c.result()


def long_range_view():
    c = Canvas(132, 104)
    c.frame()
    for r in (8, 18, 28, 38):
        c.ring(66, 44, r, 2)
    c.line([(66, 44), (66 + 38 * math.cos(-0.7), 44 + 38 * math.sin(-0.7))], 3)
    for x, y in ((40, 26), (96, 60), (58, 70), (88, 30)):
        c.disc(x, y, 3)
    c.caption("LONG RANGE", 84, size=12)
    return c.result()


def ship_data_view():
    c = Canvas(132, 104)
    c.frame()
    ship(c, 46, 40, 26)
    ship(c, 46, 40, 19, fill=GLASS)
    for i, width in enumerate((34, 26, 30, 20)):
        c.line([(82, 22 + i * 12), (82 + width, 22 + i * 12)], 4)
    c.caption("SHIP DATA", 80)
    return c.result()


# --- The comms messages' stars.

STAR_GOLD = (255, 206, 74, 255)


def star(filled):
    """A five-pointed star, point up, with a soft dark rim so it reads on the
    lit rows; the hollow one is its outline."""
    size = 320
    c = Canvas(size, size)
    centre, outer, inner = size / 2, size * 0.46, size * 0.19
    points = []
    for i in range(10):
        radius = outer if i % 2 == 0 else inner
        angle = math.pi * i / 5 - math.pi / 2
        points.append((centre + radius * math.cos(angle), centre + radius * math.sin(angle) + size * 0.03))
    c.line(points + points[:2], 26, (0, 0, 0, 140))
    if filled:
        c.poly(points, STAR_GOLD)
    else:
        c.line(points + points[:2], 22, STAR_GOLD)
    return c.result()


# --- The torpedo panel's backdrop.

def torpedo_backdrop():
    """An L of plating along the right and bottom edges with chamfered ends,
    a thin trim line inside it, hatching in the corner and rivets."""
    w, h = 512, 256
    c = Canvas(w, h)
    band = 26
    c.poly([(w, 70), (w, h), (70, h), (70 + band, h - band), (w - band, h - band), (w - band, 70 + band)])
    trim = 40
    c.line([(w - trim, 120), (w - trim, h - trim - 24), (w - trim - 24, h - trim), (120, h - trim)], 3,
           (255, 255, 255, 170))
    for i in range(6):
        d = 12 + i * 11
        c.line([(w - band - d, h - band), (w - band, h - band - d)], 4, (255, 255, 255, 200 - i * 28))
    for i in range(8):
        c.disc(w - band / 2, 110 + i * 18, 3, (0, 0, 0, 0))
        c.disc(120 + i * 48, h - band / 2, 3, (0, 0, 0, 0))
    return c.result()


def main():
    data = sys.argv[1]
    folder = os.path.join(data, "graphics", "mainScn")
    os.makedirs(folder, exist_ok=True)
    buttons = {
        1: tracking_view(), 2: chase_view(), 3: inside_view(), 4: ship_data_view(), 5: long_range_view(),
        6: tactical_view(), 7: angle_arrow(2, "BACK"), 8: angle_arrow(3, "LEFT"), 9: angle_arrow(1, "RIGHT"),
        10: angle_arrow(0, "FRONT"),
    }
    for number, image in buttons.items():
        image.save(os.path.join(folder, "asset %d.png" % number), optimize=False)
    star(True).save(os.path.join(data, "graphics", "starFilled.png"), optimize=False)
    star(False).save(os.path.join(data, "graphics", "starHollow.png"), optimize=False)
    torpedo_backdrop().save(os.path.join(data, "graphics", "torp_background_image.png"), optimize=False)


if __name__ == "__main__":
    main()
