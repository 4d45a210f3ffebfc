#!/usr/bin/python3
"""Draws the bridge consoles' own art into the data folder:

  graphics/mainScn/asset 1.png .. asset 10.png
                      the main screen control's image buttons: four angle
                      arrows, three camera modes and three views, white on
                      transparency, tinted when drawn; each keeps a clear
                      strip (along its bottom, or an arrow's inner side)
                      where the control writes its caption in the
                      interface's font, so it reads at any size
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

from PIL import Image, ImageDraw

SUPER = 4  # drawn this many times larger, then reduced: smooth edges
WHITE = (255, 255, 255, 255)
# The faint glass behind a button: enough to be seen as one control, and
# above the interface's click threshold (alpha 0.1), so the whole button
# answers a click, not only its lines.
GLASS = (255, 255, 255, 40)


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

    def result(self):
        # An area average: a filter with negative lobes would ring around the
        # art and cut holes below the glass, where a click would fall through.
        return self.image.resize(self.size, Image.BOX)


def ship(c, cx, cy, scale, fill=WHITE):
    """The own ship from above, bow up."""
    outline = [(0, -1.0), (0.32, -0.2), (0.8, 0.45), (0.8, 0.7), (0.25, 0.55), (0.18, 0.85),
               (-0.18, 0.85), (-0.25, 0.55), (-0.8, 0.7), (-0.8, 0.45), (-0.32, -0.2)]
    c.poly([(cx + x * scale, cy + y * scale) for x, y in outline], fill)


# --- The angle arrows: a broad chevron, its caption's strip on the inner side.

def angle_arrow(direction):
    """direction: 0 up, 1 right, 2 down, 3 left. The chevron is drawn
    pointing up in a 150 x 50 strip and turned into place."""
    chevron = [(75, 4), (146, 46), (118, 46), (75, 21), (32, 46), (4, 46)]
    tip = [(52, 46), (75, 33), (98, 46)]
    if direction in (0, 2):
        c = Canvas(150, 80)
        flip = (lambda x, y: (x, y)) if direction == 0 else (lambda x, y: (x, 80 - y))
    else:
        c = Canvas(112, 150)
        # Up becomes left (3) or right (1): x from the strip's y, y from its x.
        flip = (lambda x, y: (y, x)) if direction == 3 else (lambda x, y: (112 - y, x))
    c.glass()
    for shape in (chevron, tip):
        c.poly([flip(x, y) for x, y in shape])
    return c.result()


# --- The camera modes: a framed square each, the art above the caption's strip.

def inside_view():
    c = Canvas(104, 104)
    c.frame()
    # A cockpit frame seen from within, space beyond.
    c.line([(14, 70), (30, 28), (74, 28), (90, 70)], 5)
    c.line([(30, 28), (52, 14), (74, 28)], 4)
    for x, y in ((42, 50), (64, 42), (56, 60)):
        c.disc(x, y, 2.5)
    return c.result()


def chase_view():
    c = Canvas(104, 104)
    c.frame()
    ship(c, 52, 30, 18)
    # The camera's sight lines from behind.
    c.line([(52, 66), (36, 48)], 3)
    c.line([(52, 66), (68, 48)], 3)
    c.disc(52, 66, 5)
    return c.result()


def tracking_view():
    c = Canvas(104, 104)
    c.frame()
    c.ring(52, 40, 22, 4)
    for a in range(4):
        dx, dy = math.cos(a * math.pi / 2), math.sin(a * math.pi / 2)
        c.line([(52 + dx * 12, 40 + dy * 12), (52 + dx * 31, 40 + dy * 31)], 4)
    c.disc(52, 40, 4)
    return c.result()


# --- The views: wider framed buttons, room for their longer captions.

VIEW_WIDTH = 150
VIEW_MIDDLE = VIEW_WIDTH / 2


def tactical_view():
    c = Canvas(VIEW_WIDTH, 104)
    c.frame()
    c.ring(VIEW_MIDDLE, 40, 30, 3)
    c.ring(VIEW_MIDDLE, 40, 15, 2)
    ship(c, VIEW_MIDDLE, 40, 8)
    for dx, y in ((20, 22), (-22, 56), (24, 54)):
        x = VIEW_MIDDLE + dx
        c.poly([(x, y - 5), (x + 5, y), (x, y + 5), (x - 5, y)])
    return c.result()


def long_range_view():
    c = Canvas(VIEW_WIDTH, 104)
    c.frame()
    for r in (7, 16, 25, 34):
        c.ring(VIEW_MIDDLE, 40, r, 2)
    c.line([(VIEW_MIDDLE, 40), (VIEW_MIDDLE + 34 * math.cos(-0.7), 40 + 34 * math.sin(-0.7))], 3)
    for dx, y in ((-24, 24), (28, 56), (-8, 66), (22, 28)):
        c.disc(VIEW_MIDDLE + dx, y, 3)
    return c.result()


def ship_data_view():
    c = Canvas(VIEW_WIDTH, 104)
    c.frame()
    ship(c, VIEW_MIDDLE - 20, 38, 26)
    ship(c, VIEW_MIDDLE - 20, 38, 19, fill=GLASS)
    for i, width in enumerate((34, 26, 30, 20)):
        c.line([(VIEW_MIDDLE + 16, 20 + i * 12), (VIEW_MIDDLE + 16 + width, 20 + i * 12)], 4)
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
        6: tactical_view(), 7: angle_arrow(2), 8: angle_arrow(3), 9: angle_arrow(1), 10: angle_arrow(0),
    }
    for number, image in buttons.items():
        image.save(os.path.join(folder, "asset %d.png" % number), optimize=False)
    star(True).save(os.path.join(data, "graphics", "starFilled.png"), optimize=False)
    star(False).save(os.path.join(data, "graphics", "starHollow.png"), optimize=False)
    torpedo_backdrop().save(os.path.join(data, "graphics", "torp_background_image.png"), optimize=False)


if __name__ == "__main__":
    main()
