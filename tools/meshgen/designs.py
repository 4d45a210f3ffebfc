"""The game's own hulls, one builder per art file root, each a low-poly mesh
with the livery it is painted in. Sizes are world units: the ship list's port
positions and exclusion radii fit them. The bow points to +z, up is +y.
"""

import math
from dataclasses import dataclass

import numpy as np

from mesh import (Mesh, box, cylinder, ellipse, icosphere, loft, place, prism, rotate_x, rotate_y, rotate_z,
                   scale, torus, translate, uv_sphere, displaced)
from paint import Livery


@dataclass
class Design:
    mesh: Mesh
    livery: Livery
    texture_size: int = 512


MERIDIAN = dict(style="plated", hull=(0.80, 0.82, 0.86), accent=(0.14, 0.40, 0.86), engine=(0.45, 0.75, 1.0),
                markings="stripes")
SKARN = dict(style="plated", hull=(0.50, 0.30, 0.26), accent=(0.92, 0.36, 0.10), engine=(1.0, 0.50, 0.18),
             window=(1.0, 0.42, 0.28), dark=(0.16, 0.12, 0.12), markings="chevrons")
CIVIL = dict(style="plated", hull=(0.60, 0.61, 0.58), accent=(0.96, 0.62, 0.12), engine=(0.60, 0.90, 1.0),
             markings="hazard")
MUNITION = dict(style="plated", hull=(0.34, 0.35, 0.37), accent=(0.95, 0.80, 0.15), engine=(1.0, 0.66, 0.28))


def hexagon(w, h, y=0.0, belly=0.8):
    """A flattened hexagonal hull section, counter-clockwise seen from +z."""
    return [(w, y), (w * 0.6, y + h), (-w * 0.6, y + h), (-w, y), (-w * 0.6, y - h * belly), (w * 0.6, y - h * belly)]


def diamond(w, h, y=0.0):
    return [(w, y), (0.0, y + h), (-w, y), (0.0, y - h)]


def vertical_fin(outline_yz, thickness, x=0.0, material="hull"):
    """A fin standing in the y-z plane: outline [(y, z)]."""
    return place(prism(outline_yz, thickness, material), translate(x, 0, 0), rotate_z(math.pi / 2))


def nozzle(x, y, z_back, z_front, radius, segments=10):
    """An engine: a dark bell glowing at its back, tapering forward."""
    return loft([(z_back, ellipse(radius, radius, segments, y)), (z_back + 4, ellipse(radius * 1.1, radius * 1.1, segments, y)),
                 (z_front - 6, ellipse(radius, radius, segments, y)), (z_front, ellipse(radius * 0.6, radius * 0.6, segments, y))],
                material="dark", start_cap="engine").transformed(translate(x, 0, 0))


def turret(x, y, z, size):
    """A beam emitter: a squat block with a barrel forward."""
    part = box((x, y, z), (size, size * 0.6, size * 1.2), "dark")
    return part.add(place(cylinder(size * 0.18, size * 1.1, 6, "dark"), translate(x, y, z + size * 0.5)))


# Player ships ---------------------------------------------------------------

def tern_frigate():
    """The crew's frigate: a long hexagonal hull with a raised bridge, two
    engine nacelles close aft, forward canards carrying the forward beams
    and a mid wing carrying the aft ones."""
    hull = loft([(-128, hexagon(20, 12)), (-70, hexagon(30, 15)), (10, hexagon(31, 16)), (80, hexagon(21, 11)),
                 (128, hexagon(9, 6, -1))], end_tip=(0, -2, 152), start_cap="dark")
    spine = loft([(-120, hexagon(7, 5, 12)), (-40, hexagon(8, 6, 13))], end_tip=(0, 15, -20), material="accent")
    bridge = loft([(-48, hexagon(15, 9, 15)), (18, hexagon(16, 10, 15)), (40, hexagon(10, 7, 16))],
                  end_tip=(0, 18, 58))
    canopy = loft([(30, hexagon(9, 3, 24)), (44, hexagon(6, 2, 23))], end_tip=(0, 22, 52), material="glass")
    nacelle = nozzle(34, 0, -152, -36, 8.5)
    pylon = box((26, 0, -100), (12, 5, 60), "dark")
    canard = prism([(0, 100), (44, 108), (44, 128), (0, 126)], 4)
    wing = prism([(0, -82), (56, -70), (56, -50), (0, -40)], 5)
    fin = vertical_fin([(12, -126), (36, -120), (36, -104), (12, -86)], 3, x=16, material="accent")
    keel = vertical_fin([(-12, -100), (-30, -84), (-30, -60), (-12, -40)], 4)
    mesh = Mesh().add(hull).add(spine).add(bridge).add(canopy)
    for part in (nacelle, pylon, canard, wing, fin, turret(40, 0, 120, 9), turret(52, 0, -60, 9)):
        mesh.add(part.mirrored_pair())
    mesh.add(keel)
    livery = Livery(**MERIDIAN, panel=11.0,
                    windows=[("side", -100, 70, 6, 8), ("side", -80, 50, -5, 10), ("side", -40, 30, 22, 6)])
    return Design(mesh, livery)


def kestrel_fighter():
    """A one-seat fighter: a slim fuselage, a glass canopy, swept delta wings
    with twin tail fins, and two gun barrels forward."""
    body = loft([(-32, diamond(6, 4)), (-6, diamond(7, 5)), (18, diamond(4, 3.5))], end_tip=(0, 0, 38),
                start_cap="engine")
    canopy = loft([(-6, hexagon(3, 2, 3.5)), (10, hexagon(2.4, 1.6, 3.2))], end_tip=(0, 3, 18), material="glass")
    wing = prism([(5, 10), (27, -20), (27, -28), (5, -26)], 1.4)
    tip = prism([(24, -12), (28, -19), (28, -30), (24, -30)], 1.8, "accent")
    tail = vertical_fin([(2, -32), (12, -34), (12, -28), (2, -18)], 1.2, x=5, material="accent")
    gun = place(cylinder(0.7, 16, 5, "dark"), translate(4.5, -1.2, 8))
    mesh = Mesh().add(body).add(canopy)
    for part in (wing, tip, tail, gun):
        mesh.add(part.mirrored_pair())
    return Design(mesh, Livery(**MERIDIAN, panel=4.0), 256)


# Computer ships -------------------------------------------------------------

def fleet_light_cruiser():
    """A patrol cruiser: a broad hammerhead bow on a slim spine, a command
    tower amidships and one large engine block aft."""
    spine = loft([(-110, hexagon(14, 11)), (40, hexagon(16, 12))], start_cap="dark")
    head = loft([(36, hexagon(22, 9)), (60, hexagon(44, 10)), (96, hexagon(42, 9)), (112, hexagon(26, 6))])
    tower = loft([(-36, hexagon(10, 10, 18)), (4, hexagon(9, 9, 18))], end_tip=(0, 26, 16))
    glass = box((0, 30, -2), (14, 4, 10), "glass")
    engine = nozzle(0, 0, -122, -84, 19, 12)
    radiator = vertical_fin([(4, -100), (34, -96), (34, -70), (4, -60)], 2.5, x=18, material="accent")
    mesh = Mesh().add(spine).add(head).add(tower).add(glass).add(engine)
    for part in (radiator, turret(30, 4, 90, 8)):
        mesh.add(part.mirrored_pair())
    mesh.add(turret(0, 14, -90, 8))
    livery = Livery(**MERIDIAN, panel=10.0,
                    windows=[("side", -100, 30, 4, 9), ("side", 40, 105, 3, 7), ("front", -38, 38, 2, 6)])
    return Design(mesh, livery)


def skarn_raider():
    """A hostile raider: a flat blade of a hull between two forward-swept
    mandibles, a tall swept spine and twin engines."""
    blade = loft([(-72, diamond(14, 6)), (-10, diamond(16, 7)), (40, diamond(9, 5))], end_tip=(0, 0, 86),
                  start_cap="dark")
    mandible = prism([(10, -24), (30, 8), (26, 74), (19, 62), (9, 14)], 5)
    spine = vertical_fin([(5, -70), (30, -76), (20, -40), (5, 10)], 3, material="accent")
    engine = nozzle(15, 0, -82, -52, 7, 8)
    mesh = Mesh().add(blade).add(spine)
    for part in (mandible, engine, turret(20, 3, 70, 6)):
        mesh.add(part.mirrored_pair())
    return Design(mesh, Livery(**SKARN, panel=8.0, windows=[("side", -50, 20, 2, 9)]))


def skarn_carrier():
    """A slow carrier: a wide low slab with a flight deck, hangar pods along
    both sides, an offset command tower and three great engines."""
    slab = loft([(-200, hexagon(66, 24)), (120, hexagon(70, 26)), (190, hexagon(42, 18)), (206, hexagon(26, 10))],
                start_cap="dark")
    deck = box((0, 26, -10), (54, 3, 300), "dark")
    pod = box((84, -4, -30), (34, 34, 190))
    mouth = box((84, -4, 66), (24, 22, 3), "engine")
    tower = loft([(-70, hexagon(12, 20, 40)), (-30, hexagon(10, 18, 40))], end_tip=(0, 62, -20))
    tower = tower.transformed(translate(46, 0, 0))
    glass = box((46, 52, -36), (22, 5, 6), "glass")
    mesh = Mesh().add(slab).add(deck).add(tower).add(glass)
    for part in (pod, mouth, nozzle(42, 0, -212, -180, 16, 12)):
        mesh.add(part.mirrored_pair())
    mesh.add(nozzle(0, 0, -222, -190, 18, 12))
    livery = Livery(**SKARN, panel=16.0,
                    windows=[("side", -180, 110, 8, 12), ("side", -120, 50, -6, 14), ("side", -60, -28, 52, 7)])
    return Design(mesh, livery)


# Stations -------------------------------------------------------------------

def starbase_civil():
    """A civil port: a hub with docking masts, a great ring on four spokes
    and a spire of aerials."""
    hub = place(cylinder(70, 160, 16), translate(0, 80, 0), rotate_x(math.pi / 2))
    collar = place(cylinder(96, 26, 16), translate(0, 13, 0), rotate_x(math.pi / 2))
    ring = torus(320, 26, 40, 8)
    mesh = Mesh().add(hub).add(collar).add(ring)
    for k in range(4):
        spoke = box((185, 0, 0), (240, 14, 20), "dark")
        mesh.add(spoke.transformed(rotate_y(k * math.pi / 2 + math.pi / 4)))
    for sign in (1, -1):
        mast = place(cylinder(12, 110, 8, "dark"), translate(0, sign * 80, 0), rotate_x(-sign * math.pi / 2))
        dish = place(cylinder(40, 8, 12, end_cap="engine"), translate(0, sign * 190, 0), rotate_x(-sign * math.pi / 2))
        mesh.add(mast).add(dish)
    spire = place(cylinder(10, 140, 6, "accent", radius_end=0), translate(0, 200, 0), rotate_x(-math.pi / 2))
    mesh.add(spire)
    livery = Livery(**CIVIL, panel=20.0,
                    windows=[("side", -345, 345, 0, 16), ("front", -345, 345, 0, 16), ("back", -345, 345, 0, 16),
                             ("side", -60, 60, 40, 10), ("front", -60, 60, 40, 10), ("back", -60, 60, 40, 10)])
    return Design(mesh, livery, 1024)


def skarn_depot():
    """A hostile depot: a squat hexagonal core with three arms ending in
    cargo blocks, spiked all round."""
    core = place(cylinder(100, 120, 6), translate(0, 60, 0), rotate_x(math.pi / 2))
    crown = place(cylinder(60, 60, 6, "accent", radius_end=20), translate(0, 60, 0), rotate_x(-math.pi / 2))
    keel = place(cylinder(60, 110, 6, "dark", radius_end=0), translate(0, -60, 0), rotate_x(math.pi / 2))
    mesh = Mesh().add(core).add(crown).add(keel)
    for k in range(3):
        turn = rotate_y(2 * math.pi * k / 3)
        arm = box((170, 0, 0), (160, 30, 36), "dark")
        block = box((280, 0, 0), (80, 70, 110))
        spike = place(cylinder(14, 80, 5, "accent", radius_end=0), translate(320, 0, 0), rotate_y(math.pi / 2))
        glow = box((280, 36, 0), (50, 3, 70), "engine")
        for part in (arm, block, spike, glow):
            mesh.add(part.transformed(turn))
    livery = Livery(**SKARN, panel=18.0, windows=[("side", -90, 90, 20, 12), ("front", -90, 90, 20, 12)])
    return Design(mesh, livery)


# Terrain, creatures and munitions -------------------------------------------

def asteroid_rock(seed):
    rng = np.random.RandomState(seed)
    rock = displaced(icosphere(100, 2), 0.55, rng)
    return Design(rock.transformed(scale(1.0, 0.78, 1.2)), Livery(style="rock", hull=(0.4, 0.36, 0.3),
                                                                  accent=(0.5, 0.45, 0.4)))


def _girth(z):
    """The serpent's radius along its length: a thin tail, a thick body and
    a narrower neck before the head."""
    t = min(1.0, max(0.0, (z + 200) / 170))
    radius = 4 + 30 * t * t * (3 - 2 * t)
    return radius - 6 * min(1.0, max(0.0, (z - 60) / 50))


def _sway(z):
    """How far the body curls aside, fading toward the head."""
    return 18 * math.sin(z / 55.0) * (1 - max(0.0, z - 60) / 200)


def monster_dragon():
    """A serpent: a sinuous body thick behind the head and thinning to the
    tail, a wedge of a head with swept horns, glowing spines along its back
    and fins behind the jaw."""
    sections = []
    for k in range(17):
        z = -200 + k * 22
        ring = [(x + _sway(z), y) for x, y in ellipse(_girth(z), _girth(z) * 0.8, 10)]
        sections.append((z, ring))
    body = loft(sections, start_tip=(_sway(-214), 0, -214), end_tip=(0, -4, 212))
    head = loft([(140, hexagon(30, 12, 2)), (176, hexagon(22, 9, 0))], end_tip=(0, -3, 206))
    horn = place(cylinder(4, 50, 5, "accent", radius_end=0), translate(16, 12, 150), rotate_x(0.5), rotate_y(math.pi))
    fin = prism([(20, 112), (58, 84), (52, 70), (20, 94)], 3, "accent")
    mesh = Mesh().add(body).add(head)
    for part in (horn, fin):
        mesh.add(part.mirrored_pair())
    for z in range(-150, 120, 30):
        spine = place(cylinder(_girth(z) * 0.22, _girth(z) * 0.9, 4, "engine", radius_end=0),
                      translate(_sway(z), _girth(z) * 0.7, z), rotate_x(-math.pi / 2 - 0.5))
        mesh.add(spine)
    return Design(mesh, Livery(style="creature", hull=(0.16, 0.42, 0.40), accent=(0.75, 0.2, 0.9),
                               engine=(0.3, 1.0, 0.85), panel=9.0))


def torpedo():
    body = loft([(-8, ellipse(1.6, 1.6, 8)), (4, ellipse(1.6, 1.6, 8))], end_tip=(0, 0, 9), start_cap="engine")
    fin = prism([(1.2, -8), (3.6, -9), (3.6, -6), (1.2, -4)], 0.3, "accent")
    mesh = Mesh().add(body)
    for k in range(4):
        mesh.add(fin.transformed(rotate_z(k * math.pi / 2 + math.pi / 4)))
    return Design(mesh, Livery(**MUNITION, panel=2.0), 256)


def drone(size=1.0):
    """An attack drone: a pod inside a ring, three arms with glowing tips."""
    mesh = Mesh().add(icosphere(4, 1)).add(torus(8, 1.4, 16, 5, "dark"))
    for k in range(3):
        turn = rotate_y(2 * math.pi * k / 3)
        mesh.add(box((6, 0, 0), (5, 1.2, 1.6), "dark").transformed(turn))
        mesh.add(box((10, 0, 0), (2.2, 2.2, 2.2), "engine").transformed(turn))
    mesh.add(loft([(3.5, hexagon(1.6, 1.2)), (5.5, hexagon(1.2, 0.9))], end_tip=(0, 0, 7), material="glass"))
    return Design(mesh.transformed(scale(size)), Livery(**SKARN, panel=2.0), 256)


def mine():
    """A drifting charge: a ball with six spikes and a glowing band."""
    mesh = Mesh().add(icosphere(8, 1)).add(torus(8.2, 1.0, 16, 4, "engine"))
    for turn in (rotate_x(0), rotate_x(math.pi), rotate_x(math.pi / 2), rotate_x(-math.pi / 2), rotate_y(math.pi / 2),
                 rotate_y(-math.pi / 2)):
        mesh.add(place(cylinder(1.6, 8, 5, "accent", radius_end=0), turn, translate(0, 0, 7)))
    return Design(mesh, Livery(**MUNITION, panel=3.0), 256)


def unknown():
    """An unresolved contact: a long faceted crystal in a thin ring."""
    crystal = loft([(-30, diamond(22, 22)), (20, diamond(22, 22))], start_tip=(0, 0, -70), end_tip=(0, 0, 60))
    ring = torus(46, 3, 24, 4, "engine")
    return Design(Mesh().add(crystal).add(ring),
                  Livery(style="plated", hull=(0.42, 0.42, 0.48), accent=(0.6, 0.25, 0.85), engine=(0.7, 0.4, 1.0),
                         panel=10.0))


# Named meshes of the 3D view ------------------------------------------------

def marker_sphere():
    """The editors' port and grid markers."""
    return Design(uv_sphere(3, 8, 12), Livery(style="plated", hull=(0.95, 0.95, 0.95), accent=(1, 1, 1), panel=40.0,
                                              shine=0.3), 256)


def black_ball():
    """A unit ball the view scales to a black hole's size."""
    return Design(uv_sphere(1, 12, 20), Livery(style="plated", hull=(0.02, 0.02, 0.03), accent=(0, 0, 0), panel=10.0,
                                               shine=0.1), 256)


def halo_ball():
    """A unit ball of light."""
    return Design(uv_sphere(1, 12, 20, "glass"), Livery(style="plated", hull=(0.9, 0.9, 1.0), accent=(1, 1, 1),
                                                        glass=(0.55, 0.7, 0.9), panel=10.0), 256)


def monster_part():
    """A spinning bit of the monster's body: a glowing core in a ring of six
    swept claws, pale so the body colour the mission gives tints it."""
    mesh = Mesh().add(icosphere(18, 2, "engine")).add(torus(46, 5, 24, 6, "accent"))
    claw = place(cylinder(7, 52, 5, "hull", radius_end=0), translate(0, 0, 44), rotate_x(-0.35))
    for k in range(6):
        mesh.add(claw.transformed(rotate_y(2 * math.pi * k / 6 + 0.3)))
    return Design(mesh, Livery(style="creature", hull=(0.86, 0.88, 0.92), accent=(0.7, 0.72, 0.8),
                               engine=(1.0, 1.0, 1.0), panel=6.0), 256)


SHIP_DESIGNS = {
    "tern_frigate": tern_frigate,
    "kestrel_fighter": kestrel_fighter,
    "fleet_light_cruiser": fleet_light_cruiser,
    "skarn_raider": skarn_raider,
    "skarn_carrier": skarn_carrier,
    "starbase_civil": starbase_civil,
    "skarn_depot": skarn_depot,
    "monster_dragon": monster_dragon,
    "torpedo": torpedo,
    "drone": drone,
    "mine": mine,
    "unknown": unknown,
}

# A hull type without a builder of its own gets the builder of its role.
ROLE_DESIGNS = {"frigate": tern_frigate, "fighter": kestrel_fighter, "warship": fleet_light_cruiser,
                "raider": skarn_raider, "carrier": skarn_carrier, "station": starbase_civil,
                "monster": monster_dragon}
