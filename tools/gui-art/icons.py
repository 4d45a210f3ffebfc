"""The icons of the sheet, by cell. Rows: 0 space objects, 1 ship systems,
2 arrows and controls, 3 markers, 4 status, 5 targeting (112 the weapons
target), 6 ship interiors (129 the interior selection), 7 digits and marks,
8 letters A to T, 9 letters U to Z and side emblems. Cells not listed stay
empty. Cell 0 is the plain contact of an object without an icon of its own."""

import math

from pen import mirrored, person

ICONS = {}


def icon(cell):
    def register(draw):
        ICONS[cell] = draw
        return draw
    return register


# Row 0: space objects.
@icon(0)
def contact(p):
    p.regular(0, 0, 0.8, 4)
    p.regular(0, 0, 0.55, 4, erase=True)
    p.circle(0, 0, 0.2)

@icon(1)
def fighter(p):
    p.poly(mirrored([(0, -0.85), (0.18, -0.2), (0.75, 0.45), (0.7, 0.7), (0.2, 0.45), (0.14, 0.75)]))

@icon(2)
def corvette(p):
    p.poly(mirrored([(0, -0.85), (0.25, -0.35), (0.3, 0.5), (0.5, 0.8), (0.15, 0.7)]))

@icon(3)
def frigate(p):
    p.poly(mirrored([(0, -0.9), (0.2, -0.55), (0.22, -0.1), (0.55, 0.15), (0.55, 0.45), (0.25, 0.5), (0.3, 0.85)]))

@icon(4)
def cruiser(p):
    p.poly(mirrored([(0, -0.9), (0.28, -0.6), (0.3, 0.0), (0.65, 0.3), (0.65, 0.6), (0.32, 0.6), (0.35, 0.88)]))
    p.rect(-0.08, -0.5, 0.08, 0.3, erase=True)

@icon(5)
def battleship(p):
    p.poly(mirrored([(0, -0.92), (0.35, -0.7), (0.42, -0.2), (0.8, 0.1), (0.8, 0.45), (0.42, 0.55), (0.45, 0.9)]))
    p.rect(-0.12, -0.55, 0.12, 0.45, erase=True)
    p.rect(-0.05, -0.45, 0.05, 0.35)

@icon(6)
def carrier(p):
    p.rect(-0.45, -0.85, 0.45, 0.85)
    p.rect(-0.3, -0.7, 0.3, 0.7, erase=True)
    p.rect(-0.1, -0.7, 0.1, 0.7)
    p.poly([(0.45, -0.3), (0.8, -0.1), (0.8, 0.3), (0.45, 0.5)])

@icon(7)
def freighter(p):
    for y in (-0.6, -0.1, 0.4):
        p.rect(-0.5, y, 0.5, y + 0.38)
    p.rect(-0.12, -0.85, 0.12, 0.85)

@icon(8)
def shuttle(p):
    p.poly(mirrored([(0, -0.7), (0.3, -0.45), (0.35, 0.4), (0.6, 0.7), (0.2, 0.65)]))
    p.rect(-0.15, -0.4, 0.15, -0.2, erase=True)

@icon(9)
def station(p):
    p.ring(0, 0, 0.85, 0.18)
    p.circle(0, 0, 0.28)
    for a in (0, 90, 180, 270):
        p.line([(0, 0), (0.75 * math.sin(math.radians(a)), -0.75 * math.cos(math.radians(a)))], 0.12)

@icon(10)
def outpost(p):
    p.regular(0, 0, 0.8, 6)
    p.regular(0, 0, 0.55, 6, erase=True)
    p.regular(0, 0, 0.3, 6)

@icon(11)
def drone(p):
    for x, y in ((-0.5, -0.5), (0.5, -0.5), (-0.5, 0.5), (0.5, 0.5)):
        p.ring(x, y, 0.32, 0.1)
    p.line([(-0.5, -0.5), (0.5, 0.5)], 0.14)
    p.line([(0.5, -0.5), (-0.5, 0.5)], 0.14)
    p.circle(0, 0, 0.22)

@icon(12)
def mine(p):
    p.star(0, 0, 0.9, 0.45, points=8)
    p.circle(0, 0, 0.5)
    p.circle(0, 0, 0.18, erase=True)

@icon(13)
def torpedo(p):
    p.rect(-0.16, -0.5, 0.16, 0.55)
    p.circle(0, -0.5, 0.16)
    p.poly(mirrored([(0.0, 0.35), (0.42, 0.75), (0.42, 0.9), (0.0, 0.7)]))

@icon(14)
def asteroid(p):
    p.poly([(-0.7, -0.3), (-0.3, -0.75), (0.35, -0.7), (0.8, -0.2), (0.65, 0.45), (0.1, 0.8), (-0.55, 0.6),
            (-0.85, 0.15)])
    p.circle(0.25, -0.2, 0.15, erase=True)
    p.circle(-0.3, 0.25, 0.11, erase=True)

@icon(15)
def planet(p):
    p.circle(0, 0, 0.55)
    p.line([(-0.95, 0.35), (0.95, -0.35)], 0.1)
    p.line([(-0.62, 0.12), (0.62, -0.12)], 0.1, erase=True)

@icon(16)
def nebula(p):
    for x, y, r in ((-0.35, 0.1, 0.38), (0.1, -0.25, 0.42), (0.45, 0.15, 0.35), (0.0, 0.35, 0.3)):
        p.circle(x, y, r)
    for x, y, r in ((-0.2, 0.0, 0.1), (0.2, -0.15, 0.12), (0.35, 0.25, 0.08)):
        p.circle(x, y, r, erase=True)

@icon(17)
def black_hole(p):
    for k in range(3):
        p.arc(0, 0, 0.3 + 0.22 * k, 30 + 120 * k, 250 + 120 * k, 0.1)
    p.circle(0, 0, 0.2)

@icon(18)
def monster(p):
    p.circle(0, -0.25, 0.45)
    for x in (-0.45, -0.15, 0.15, 0.45):
        p.line([(x, 0.0), (x * 1.3, 0.45), (x * 0.8, 0.85)], 0.12)
    p.circle(-0.17, -0.3, 0.1, erase=True)
    p.circle(0.17, -0.3, 0.1, erase=True)

@icon(19)
def beacon(p):
    p.regular(0, -0.2, 0.35, 4)
    p.rect(-0.06, 0.1, 0.06, 0.85)
    p.arc(0, -0.2, 0.6, -60, 60, 0.09)
    p.arc(0, -0.2, 0.85, -50, 50, 0.09)


# Row 1: ship systems.
@icon(20)
def beams(p):
    for dx in (-0.5, 0.0, 0.5):
        p.line([(dx, 0.8), (dx * 0.2, -0.75)], 0.14)
    p.circle(0, -0.75, 0.14)

@icon(21)
def torpedo_tube(p):
    p.ring(0, 0.2, 0.6, 0.14)
    p.arrow(0, 0.55, 0, -0.35)

@icon(22)
def sensors(p):
    for r in (0.3, 0.58, 0.86):
        p.arc(0, 0.6, r, -45, 45, 0.12)
    p.circle(0, 0.6, 0.14)

@icon(23)
def manoeuvre(p):
    p.arc(0, 0.1, 0.6, -120, 60, 0.18)
    p.poly([(0.35, 0.55), (0.85, 0.25), (0.8, 0.8)])

@icon(24)
def impulse(p):
    for y in (-0.55, -0.05, 0.45):
        p.line([(-0.6, y + 0.3), (0, y), (0.6, y + 0.3)], 0.16)

@icon(25)
def warp(p):
    for y, l in ((-0.5, 0.9), (-0.17, 0.6), (0.17, 0.8), (0.5, 0.5)):
        p.line([(-0.85, y), (-0.85 + l, y)], 0.12)
    p.poly([(0.35, -0.6), (0.9, 0.0), (0.35, 0.6)])

@icon(26)
def jump(p):
    p.star(0, 0, 0.9, 0.3, points=4, turn=45)
    p.circle(0, 0, 0.25, erase=True)

@icon(27)
def shield_front(p):
    p.arc(0, 0.3, 0.75, -70, 70, 0.2)
    fighter_small(p, 0.35)

@icon(28)
def shield_rear(p):
    p.arc(0, -0.3, 0.75, 110, 250, 0.2)
    fighter_small(p, -0.35)

def fighter_small(p, dy):
    p.poly([(0, dy - 0.35), (0.25, dy + 0.3), (0, dy + 0.18), (-0.25, dy + 0.3)])

@icon(29)
def hull(p):
    p.poly(mirrored([(0, -0.85), (0.7, -0.6), (0.65, 0.1), (0.35, 0.6), (0.0, 0.88)]))
    p.poly(mirrored([(0, -0.6), (0.45, -0.43), (0.42, 0.05), (0.22, 0.42), (0.0, 0.6)]), erase=True)

@icon(30)
def energy(p):
    p.poly([(0.15, -0.9), (-0.55, 0.1), (-0.05, 0.1), (-0.2, 0.9), (0.55, -0.15), (0.05, -0.15)])

@icon(31)
def coolant(p):
    p.circle(0, 0.3, 0.5)
    p.poly([(0, -0.85), (0.44, 0.08), (-0.44, 0.08)])
    p.arc(0, 0.3, 0.3, 200, 260, 0.09, erase=True)

@icon(32)
def heat(p):
    p.poly([(0, -0.9), (0.3, -0.35), (0.55, -0.5), (0.65, 0.25), (0.35, 0.8), (-0.35, 0.8), (-0.65, 0.25),
            (-0.45, -0.25), (-0.2, 0.0)])
    p.poly([(0, 0.0), (0.25, 0.45), (0.12, 0.75), (-0.12, 0.75), (-0.25, 0.45)], erase=True)

@icon(33)
def repair(p):
    p.line([(-0.55, 0.55), (0.2, -0.2)], 0.22)
    p.ring(0.4, -0.4, 0.38, 0.17)
    p.poly([(0.4, -0.4), (0.6, -0.95), (0.95, -0.6)], erase=True)

@icon(34)
def medical(p):
    p.rect(-0.22, -0.8, 0.22, 0.8)
    p.rect(-0.8, -0.22, 0.8, 0.22)

@icon(35)
def crew(p):
    person(p)

@icon(36)
def docking(p):
    p.frame(-0.35, -0.35, 0.35, 0.35, 0.12)
    p.arrow(90, 0.45, -0.62, 0)
    p.arrow(270, 0.45, 0.62, 0)

@icon(37)
def tractor(p):
    p.arc(0, 0.0, 0.55, 90, 270, 0.28)
    p.rect(-0.69, -0.9, -0.41, -0.4)
    p.rect(0.41, -0.9, 0.69, -0.4)
    p.rect(-0.69, -0.55, -0.41, -0.4, erase=True)
    p.rect(0.41, -0.55, 0.69, -0.4, erase=True)

@icon(38)
def scan(p):
    p.ring(-0.15, -0.15, 0.55, 0.16)
    p.line([(0.25, 0.25), (0.75, 0.75)], 0.24)

@icon(39)
def comms(p):
    p.poly([(0, -0.2), (0.35, 0.85), (-0.35, 0.85)])
    p.circle(0, -0.3, 0.14)
    for r in (0.4, 0.65):
        p.arc(0, -0.3, r, -60, -20, 0.1)
        p.arc(0, -0.3, r, 20, 60, 0.1)


# Row 2: arrows and controls.
for cell, direction in ((40, 0), (41, 90), (42, 180), (43, 270), (44, 45), (45, 135), (46, 225), (47, 315)):
    icon(cell)(lambda p, d=direction: p.arrow(d))

@icon(48)
def rotate_right(p):
    p.arc(0, 0.05, 0.6, -150, 90, 0.2)
    p.poly([(0.6, -0.25), (0.95, 0.2), (0.25, 0.2)])

@icon(49)
def rotate_left(p):
    p.arc(0, 0.05, 0.6, -90, 150, 0.2)
    p.poly([(-0.6, -0.25), (-0.95, 0.2), (-0.25, 0.2)])

icon(50)(lambda p: (p.rect(-0.8, -0.18, 0.8, 0.18), p.rect(-0.18, -0.8, 0.18, 0.8)))
icon(51)(lambda p: p.rect(-0.8, -0.18, 0.8, 0.18))
icon(52)(lambda p: p.line([(-0.7, 0.05), (-0.2, 0.55), (0.75, -0.55)], 0.26))
icon(53)(lambda p: (p.line([(-0.65, -0.65), (0.65, 0.65)], 0.26), p.line([(0.65, -0.65), (-0.65, 0.65)], 0.26)))
icon(54)(lambda p: p.poly([(-0.5, -0.8), (0.75, 0.0), (-0.5, 0.8)]))
icon(55)(lambda p: (p.rect(-0.6, -0.75, -0.15, 0.75), p.rect(0.15, -0.75, 0.6, 0.75)))
icon(56)(lambda p: p.rect(-0.65, -0.65, 0.65, 0.65))
icon(57)(lambda p: (p.poly([(0, -0.8), (0.75, 0.15), (-0.75, 0.15)]), p.rect(-0.75, 0.4, 0.75, 0.7)))

@icon(58)
def home(p):
    p.poly([(0, -0.85), (0.85, -0.05), (0.6, -0.05), (0.6, 0.8), (-0.6, 0.8), (-0.6, -0.05), (-0.85, -0.05)])
    p.rect(-0.18, 0.3, 0.18, 0.8, erase=True)

@icon(59)
def refresh(p):
    p.arc(0, 0, 0.6, 20, 160, 0.18)
    p.arc(0, 0, 0.6, 200, 340, 0.18)
    p.poly([(0.25, 0.35), (0.75, 0.75), (0.85, 0.2)])
    p.poly([(-0.25, -0.35), (-0.75, -0.75), (-0.85, -0.2)])


# Row 3: markers.
icon(60)(lambda p: p.circle(0, 0, 0.75))
icon(61)(lambda p: p.ring(0, 0, 0.75, 0.18))
icon(62)(lambda p: p.rect(-0.7, -0.7, 0.7, 0.7))
icon(63)(lambda p: p.frame(-0.7, -0.7, 0.7, 0.7, 0.18))
icon(64)(lambda p: p.regular(0, 0, 0.85, 4))
icon(65)(lambda p: (p.regular(0, 0, 0.85, 4), p.regular(0, 0, 0.55, 4, erase=True)))
icon(66)(lambda p: p.regular(0, 0.12, 0.85, 3))
icon(67)(lambda p: (p.regular(0, 0.12, 0.85, 3), p.regular(0, 0.12, 0.45, 3, erase=True)))
icon(68)(lambda p: p.star(0, 0.05, 0.9, 0.38))
icon(69)(lambda p: (p.star(0, 0.05, 0.9, 0.38), p.star(0, 0.05, 0.55, 0.22, erase=True)))
icon(70)(lambda p: p.regular(0, 0, 0.82, 6, turn=30))
icon(71)(lambda p: (p.regular(0, 0, 0.82, 6, turn=30), p.regular(0, 0, 0.55, 6, turn=30, erase=True)))

@icon(72)
def crosshair(p):
    p.ring(0, 0, 0.55, 0.1)
    for a, b in (((0, -0.95), (0, -0.3)), ((0, 0.3), (0, 0.95)), ((-0.95, 0), (-0.3, 0)), ((0.3, 0), (0.95, 0))):
        p.line([a, b], 0.1)

@icon(73)
def flag(p):
    p.rect(-0.6, -0.85, -0.45, 0.85)
    p.poly([(-0.45, -0.8), (0.7, -0.5), (-0.45, -0.15)])

@icon(74)
def pin(p):
    p.circle(0, -0.3, 0.5)
    p.poly([(-0.44, -0.08), (0.44, -0.08), (0, 0.9)])
    p.circle(0, -0.3, 0.2, erase=True)

icon(75)(lambda p: p.line([(-0.7, 0.35), (0, -0.35), (0.7, 0.35)], 0.26))
icon(76)(lambda p: (p.line([(-0.7, 0.05), (0, -0.6), (0.7, 0.05)], 0.22),
                    p.line([(-0.7, 0.65), (0, 0.0), (0.7, 0.65)], 0.22)))
icon(77)(lambda p: p.circle(0, 0, 0.35))
icon(78)(lambda p: p.ring(0, 0, 0.4, 0.12))

@icon(79)
def brackets(p):
    for sx in (-1, 1):
        p.line([(sx * 0.4, -0.75), (sx * 0.75, -0.75), (sx * 0.75, 0.75), (sx * 0.4, 0.75)], 0.14)


# Row 4: status.
@icon(80)
def warning(p):
    p.poly([(0, -0.85), (0.9, 0.75), (-0.9, 0.75)])
    p.rect(-0.08, -0.3, 0.08, 0.25, erase=True)
    p.circle(0, 0.47, 0.1, erase=True)

@icon(81)
def info(p):
    p.circle(0, 0, 0.85)
    p.rect(-0.11, -0.15, 0.11, 0.55, erase=True)
    p.circle(0, -0.42, 0.13, erase=True)

icon(82)(lambda p: (p.circle(0, 0, 0.85), p.glyph("?", 1.2, 0, 0.02, erase=True)))
icon(83)(lambda p: (p.circle(0, 0, 0.85), p.glyph("!", 1.2, 0, 0.02, erase=True)))

@icon(84)
def skull(p):
    p.circle(0, -0.2, 0.62)
    p.rect(-0.35, 0.2, 0.35, 0.75)
    p.circle(-0.25, -0.2, 0.17, erase=True)
    p.circle(0.25, -0.2, 0.17, erase=True)
    for x in (-0.18, 0.0, 0.18):
        p.rect(x - 0.04, 0.45, x + 0.04, 0.75, erase=True)

@icon(85)
def radiation(p):
    p.circle(0, 0, 0.16)
    for a in (0, 120, 240):
        pts = [(0, 0)] + [(0.85 * math.sin(math.radians(a + d)), -0.85 * math.cos(math.radians(a + d)))
                          for d in range(-30, 31, 10)]
        p.poly(pts)
    p.circle(0, 0, 0.3, erase=True)
    p.circle(0, 0, 0.16)

@icon(86)
def lock(p):
    p.rect(-0.6, -0.1, 0.6, 0.8)
    p.arc(0, -0.2, 0.38, -90, 90, 0.16)
    p.circle(0, 0.3, 0.12, erase=True)

@icon(87)
def unlock(p):
    p.rect(-0.6, -0.1, 0.6, 0.8)
    p.arc(0.45, -0.35, 0.38, -90, 60, 0.16)
    p.circle(0, 0.3, 0.12, erase=True)

@icon(88)
def eye(p):
    p.poly([(-0.9, 0)] + [(0.9 * math.cos(math.radians(a)), -0.55 * math.sin(math.radians(a)))
                          for a in range(180, -1, -10)] +
           [(0.9 * math.cos(math.radians(a)), 0.55 * math.sin(math.radians(a))) for a in range(10, 180, 10)])
    p.circle(0, 0, 0.36, erase=True)
    p.circle(0, 0, 0.2)

@icon(89)
def eye_off(p):
    eye(p)
    p.line([(-0.8, -0.8), (0.8, 0.8)], 0.28, erase=True)
    p.line([(-0.75, -0.75), (0.75, 0.75)], 0.12)

@icon(90)
def gear(p):
    p.star(0, 0, 0.9, 0.68, points=8)
    p.circle(0, 0, 0.68)
    p.circle(0, 0, 0.28, erase=True)

@icon(91)
def power(p):
    p.arc(0, 0.05, 0.65, 35, 325, 0.2)
    p.line([(0, -0.85), (0, -0.05)], 0.2)

@icon(92)
def satellite(p):
    p.rect(-0.2, -0.2, 0.2, 0.2)
    p.rect(-0.9, -0.15, -0.35, 0.15)
    p.rect(0.35, -0.15, 0.9, 0.15)
    p.line([(-0.35, 0), (0.35, 0)], 0.06)
    p.line([(0, 0.2), (0, 0.6)], 0.08)
    p.arc(0, 0.85, 0.25, -70, 70, 0.08)

@icon(93)
def speaker(p):
    p.poly([(-0.8, -0.25), (-0.4, -0.25), (0.05, -0.7), (0.05, 0.7), (-0.4, 0.25), (-0.8, 0.25)])
    p.arc(0.05, 0, 0.45, 45, 135, 0.12)
    p.arc(0.05, 0, 0.75, 50, 130, 0.12)

@icon(94)
def mute(p):
    p.poly([(-0.8, -0.25), (-0.4, -0.25), (0.05, -0.7), (0.05, 0.7), (-0.4, 0.25), (-0.8, 0.25)])
    p.line([(0.35, -0.3), (0.85, 0.3)], 0.14)
    p.line([(0.85, -0.3), (0.35, 0.3)], 0.14)

@icon(95)
def clock(p):
    p.ring(0, 0, 0.85, 0.15)
    p.line([(0, 0), (0, -0.5)], 0.13)
    p.line([(0, 0), (0.38, 0.2)], 0.13)

@icon(96)
def hourglass(p):
    p.rect(-0.6, -0.9, 0.6, -0.75)
    p.rect(-0.6, 0.75, 0.6, 0.9)
    p.poly([(-0.5, -0.75), (0.5, -0.75), (0.08, 0.0), (0.5, 0.75), (-0.5, 0.75), (-0.08, 0.0)])
    p.poly([(-0.3, -0.6), (0.3, -0.6), (0.0, -0.1)], erase=True)

@icon(97)
def bell(p):
    p.poly(mirrored([(0, -0.75), (0.35, -0.55), (0.45, 0.3), (0.75, 0.6)]))
    p.circle(0, 0.75, 0.15)
    p.circle(0, -0.8, 0.1)

@icon(98)
def heart(p):
    p.circle(-0.35, -0.25, 0.42)
    p.circle(0.35, -0.25, 0.42)
    p.poly([(-0.76, -0.13), (0.76, -0.13), (0, 0.8)])

icon(99)(lambda p: (p.circle(0, 0, 0.85), p.poly([(0.1, -0.65), (-0.35, 0.08), (0.0, 0.08), (-0.1, 0.65),
                                                   (0.35, -0.1), (0.0, -0.1)], erase=True)))


# Row 5: targeting. Cell 112 marks the weapons' target.
def reticle_ticks(p, r0, r1, w, angles=(0, 90, 180, 270)):
    for a in angles:
        s, c = math.sin(math.radians(a)), -math.cos(math.radians(a))
        p.line([(r0 * s, r0 * c), (r1 * s, r1 * c)], w)

icon(100)(lambda p: (p.ring(0, 0, 0.75, 0.12), reticle_ticks(p, 0.45, 0.95, 0.12)))

@icon(101)
def reticle_brackets(p):
    for sx in (-1, 1):
        for sy in (-1, 1):
            p.line([(sx * 0.8, sy * 0.35), (sx * 0.8, sy * 0.8), (sx * 0.35, sy * 0.8)], 0.14)

icon(102)(lambda p: (reticle_brackets(p), p.circle(0, 0, 0.12)))
icon(103)(lambda p: (p.regular(0, 0, 0.85, 4), p.regular(0, 0, 0.68, 4, erase=True), p.circle(0, 0, 0.12)))
icon(104)(lambda p: reticle_ticks(p, 0.15, 0.9, 0.08))
icon(105)(lambda p: (p.ring(0, 0, 0.85, 0.1), p.ring(0, 0, 0.5, 0.1), p.circle(0, 0, 0.1)))
for cell, count in ((106, 3), (107, 4), (108, 6), (109, 8)):
    icon(cell)(lambda p, n=count: [p.arc(0, 0, 0.7, 360 * k / n + 12, 360 * (k + 1) / n - 12, 0.16)
                                   for k in range(n)])
icon(110)(lambda p: (p.ring(0, 0, 0.8, 0.1), reticle_ticks(p, 0.55, 0.8, 0.14, (45, 135, 225, 315))))
icon(111)(lambda p: (p.regular(0, 0.1, 0.85, 3), p.regular(0, 0.1, 0.65, 3, erase=True), p.circle(0, 0.1, 0.12)))

@icon(112)
def weapons_target(p):
    p.ring(0, 0, 0.68, 0.13)
    reticle_ticks(p, 0.4, 0.95, 0.15)
    p.circle(0, 0, 0.13)

@icon(113)
def lock_on(p):
    p.ring(0, 0, 0.45, 0.1)
    for a in (45, 135, 225, 315):
        s, c = math.sin(math.radians(a)), -math.cos(math.radians(a))
        p.poly([(0.55 * s, 0.55 * c), (0.95 * s - 0.2 * c, 0.95 * c + 0.2 * s), (0.95 * s + 0.2 * c, 0.95 * c - 0.2 * s)])

icon(114)(lambda p: (p.regular(0, 0, 0.8, 6, turn=30), p.regular(0, 0, 0.64, 6, turn=30, erase=True),
                     reticle_ticks(p, 0.2, 0.5, 0.1)))
icon(115)(lambda p: (p.ring(0, 0, 0.7, 0.1), p.arc(0, 0, 0.9, -40, 40, 0.1), p.arc(0, 0, 0.9, 140, 220, 0.1),
                     p.circle(0, 0, 0.15)))

@icon(116)
def waypoint(p):
    p.regular(0, 0, 0.85, 4)
    p.regular(0, 0, 0.65, 4, erase=True)
    p.regular(0, 0, 0.3, 4)

icon(117)(lambda p: (p.star(0, 0, 0.9, 0.25, points=4), p.ring(0, 0, 0.45, 0.1)))
icon(118)(lambda p: (flag(p), p.ring(0.1, 0.75, 0.25, 0.08)))
icon(119)(lambda p: (p.ring(0, 0, 0.8, 0.12), p.glyph("!", 1.1, 0, 0.02)))


# Row 6: ship interiors. Cell 129 is the interior view's selection.
@icon(120)
def engineer(p):
    person(p, -0.2, 0.05, 0.9)
    p.line([(0.25, 0.7), (0.65, 0.1)], 0.14)
    p.ring(0.72, -0.02, 0.17, 0.08)

@icon(121)
def medic(p):
    person(p, -0.2, 0.05, 0.9)
    p.rect(0.5, -0.1, 0.66, 0.5)
    p.rect(0.28, 0.12, 0.88, 0.28)

@icon(122)
def security(p):
    person(p, -0.25, 0.05, 0.9)
    p.poly(mirrored([(0.0, -0.1), (0.3, 0.0), (0.27, 0.4), (0.0, 0.65)]), )
    p.poly([(x + 0.5, y) for x, y in mirrored([(0.0, -0.1), (0.3, 0.0), (0.27, 0.4), (0.0, 0.65)])])

@icon(123)
def damage_control(p):
    for x, s in ((-0.5, 0.6), (0.5, 0.6), (0.0, 0.75)):
        person(p, x, 0.15 if s < 0.7 else 0.05, s)

def room(p, draw):
    """A room of the ship's interior: its frame with the icon of what is in it."""
    p.frame(-0.9, -0.9, 0.9, 0.9, 0.1)
    p.inset(draw, 0.7)


@icon(124)
def fire(p):
    room(p, heat)

@icon(125)
def breach(p):
    p.frame(-0.8, -0.8, 0.8, 0.8, 0.12)
    p.poly([(-0.5, -0.55), (-0.05, -0.15), (-0.2, 0.05), (0.5, 0.55), (0.0, 0.1), (0.15, -0.05)])

@icon(126)
def system_node(p):
    p.frame(-0.75, -0.75, 0.75, 0.75, 0.14)
    p.circle(0, 0, 0.3)

def atom(p):
    for a in (0, 60, 120):
        pts = [(0.85 * math.cos(math.radians(t)), 0.35 * math.sin(math.radians(t))) for t in range(0, 361, 12)]
        r = math.radians(a)
        p.line([(x * math.cos(r) - y * math.sin(r), x * math.sin(r) + y * math.cos(r)) for x, y in pts], 0.08)
    p.circle(0, 0, 0.18)

@icon(127)
def reactor(p):
    room(p, atom)

@icon(128)
def terminal(p):
    p.frame(-0.8, -0.7, 0.8, 0.4, 0.12)
    p.rect(-0.15, 0.4, 0.15, 0.6)
    p.rect(-0.5, 0.6, 0.5, 0.75)
    p.line([(-0.5, -0.35), (-0.25, -0.15), (-0.5, 0.05)], 0.08)

@icon(129)
def interior_selection(p):
    for sx in (-1, 1):
        for sy in (-1, 1):
            p.line([(sx * 0.85, sy * 0.35), (sx * 0.85, sy * 0.85), (sx * 0.35, sy * 0.85)], 0.16)
    p.ring(0, 0, 0.22, 0.08)

@icon(130)
def door(p):
    p.frame(-0.55, -0.85, 0.55, 0.85, 0.12)
    p.rect(-0.05, -0.73, 0.05, 0.73)

@icon(131)
def lift(p):
    p.frame(-0.6, -0.85, 0.6, 0.85, 0.12)
    p.poly([(0, -0.6), (0.3, -0.2), (-0.3, -0.2)])
    p.poly([(0, 0.6), (0.3, 0.2), (-0.3, 0.2)])

@icon(132)
def cargo(p):
    p.frame(-0.75, -0.75, 0.75, 0.75, 0.14)
    p.line([(-0.7, -0.7), (0.7, 0.7)], 0.12)
    p.line([(0.7, -0.7), (-0.7, 0.7)], 0.12)

@icon(133)
def quarters(p):
    p.rect(-0.85, 0.0, 0.85, 0.35)
    p.rect(-0.85, -0.5, -0.7, 0.7)
    p.rect(0.7, -0.1, 0.85, 0.7)
    p.rect(-0.65, -0.25, -0.2, 0.0)

@icon(134)
def armoury(p):
    for x in (-0.5, 0.0, 0.5):
        p.rect(x - 0.1, -0.5, x + 0.1, 0.75)
        p.circle(x, -0.5, 0.1)
    p.rect(-0.8, 0.75, 0.8, 0.88)

@icon(135)
def shield_generator(p):
    room(p, hull)

@icon(136)
def engine_room(p):
    room(p, impulse)

@icon(137)
def sensor_array(p):
    room(p, sensors)

@icon(138)
def comms_room(p):
    room(p, comms)

@icon(139)
def bridge_chair(p):
    p.rect(-0.45, -0.8, 0.45, 0.2)
    p.rect(-0.75, 0.0, -0.5, 0.55)
    p.rect(0.5, 0.0, 0.75, 0.55)
    p.rect(-0.5, 0.25, 0.5, 0.5)
    p.rect(-0.08, 0.5, 0.08, 0.85)


# Rows 7 to 9: digits, marks and letters in a frame, then side emblems.
for i, ch in enumerate("0123456789#@%&+-=*<>"):
    icon(140 + i)(lambda p, c=ch: (p.ring(0, 0, 0.9, 0.1), p.glyph(c, 1.05, 0, 0.02)))

def magnifier(p, plus):
    p.ring(-0.15, -0.15, 0.55, 0.14)
    p.line([(0.25, 0.25), (0.8, 0.8)], 0.2)
    p.rect(-0.42, -0.21, 0.12, -0.09)
    if plus:
        p.rect(-0.21, -0.42, -0.09, 0.12)

# The radar's zoom in and out take the places of '%' and '&'.
icon(152)(lambda p: magnifier(p, True))
icon(153)(lambda p: magnifier(p, False))

for i, ch in enumerate("ABCDEFGHIJKLMNOPQRSTUVWXYZ"):
    icon(160 + i)(lambda p, c=ch: (p.frame(-0.88, -0.88, 0.88, 0.88, 0.1), p.glyph(c, 1.05, 0, 0.02)))

@icon(186)
def emblem_wings(p):
    p.circle(0, 0, 0.3)
    for sx in (-1, 1):
        p.poly([(sx * 0.25, -0.1), (sx * 0.95, -0.5), (sx * 0.75, 0.0), (sx * 0.95, 0.2), (sx * 0.25, 0.2)])

@icon(187)
def emblem_star(p):
    p.ring(0, 0, 0.9, 0.12)
    p.star(0, 0.03, 0.65, 0.27)

@icon(188)
def emblem_trident(p):
    p.rect(-0.07, -0.4, 0.07, 0.9)
    p.arc(0, -0.55, 0.5, 90, 270, 0.14)
    for x in (-0.5, 0.0, 0.5):
        p.poly([(x, -0.95), (x + 0.16, -0.6), (x - 0.16, -0.6)])

@icon(189)
def emblem_sun(p):
    p.circle(0, 0, 0.4)
    p.star(0, 0, 0.92, 0.45, points=12)
    p.circle(0, 0, 0.26, erase=True)

@icon(190)
def emblem_crescent(p):
    p.circle(0, 0, 0.8)
    p.circle(0.3, -0.15, 0.65, erase=True)
    p.star(0.35, -0.1, 0.3, 0.12)

@icon(191)
def emblem_chevrons(p):
    for y in (-0.5, 0.0, 0.5):
        p.line([(-0.75, y + 0.3), (0, y - 0.2), (0.75, y + 0.3)], 0.18)

@icon(192)
def emblem_eye(p):
    p.regular(0, 0.15, 0.95, 3)
    p.regular(0, 0.15, 0.72, 3, erase=True)
    p.circle(0, 0.2, 0.2)

@icon(193)
def emblem_claw(p):
    for x in (-0.45, 0.0, 0.45):
        p.poly([(x - 0.15, 0.8), (x + 0.15, 0.8), (x + 0.25, -0.2), (x, -0.9), (x + 0.05, -0.2)])

@icon(194)
def emblem_shield(p):
    hull(p)
    p.star(0, -0.05, 0.32, 0.13)

@icon(195)
def emblem_diamond(p):
    p.regular(0, 0, 0.9, 4)
    p.regular(0, 0, 0.7, 4, erase=True)
    p.regular(0, 0, 0.5, 4)
    p.regular(0, 0, 0.3, 4, erase=True)


