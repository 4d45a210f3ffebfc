"""Low-poly mesh building: parts made of vertices and polygon faces, each face
wound counter-clockwise seen from outside and tagged with a material.

Coordinates are the OBJ file's: right-handed, +y up, +z forward (the bow),
+x to port seen from above. Faces keep their polygons; the OBJ writer splits
them into triangles.
"""

import math

import numpy as np


class Mesh:
    def __init__(self):
        self.positions = []  # [x, y, z]
        self.faces = []      # (vertex indices counter-clockwise from outside, material)

    def vertex(self, p):
        self.positions.append(np.asarray(p, dtype=np.float64))
        return len(self.positions) - 1

    def face(self, indices, material="hull"):
        self.faces.append((list(indices), material))

    def add(self, part):
        """Appends another mesh's vertices and faces."""
        base = len(self.positions)
        self.positions.extend(p.copy() for p in part.positions)
        self.faces.extend(([base + i for i in f], m) for f, m in part.faces)
        return self

    def transformed(self, matrix):
        """A copy moved by a 4 x 4 matrix; a mirroring matrix keeps the faces
        facing out."""
        out = Mesh()
        for p in self.positions:
            out.positions.append((matrix @ np.append(p, 1.0))[:3])
        flip = np.linalg.det(matrix[:3, :3]) < 0
        out.faces = [(list(reversed(f)) if flip else list(f), m) for f, m in self.faces]
        return out

    def painted(self, material):
        """A copy with every face in one material."""
        out = Mesh()
        out.positions = [p.copy() for p in self.positions]
        out.faces = [(list(f), material) for f, _ in self.faces]
        return out

    def mirrored_pair(self):
        """This part and its mirror image across x = 0."""
        return Mesh().add(self).add(self.transformed(scale(-1, 1, 1)))

    def bounds(self):
        points = np.array(self.positions)
        return points.min(axis=0), points.max(axis=0)


# Transforms (4 x 4, column vectors) -----------------------------------------

def translate(x, y, z):
    m = np.eye(4)
    m[:3, 3] = (x, y, z)
    return m


def scale(x, y=None, z=None):
    y = x if y is None else y
    z = x if z is None else z
    return np.diag([x, y, z, 1.0])


def rotate_x(angle):
    c, s = math.cos(angle), math.sin(angle)
    return np.array([[1, 0, 0, 0], [0, c, -s, 0], [0, s, c, 0], [0, 0, 0, 1.0]])


def rotate_y(angle):
    c, s = math.cos(angle), math.sin(angle)
    return np.array([[c, 0, s, 0], [0, 1, 0, 0], [-s, 0, c, 0], [0, 0, 0, 1.0]])


def rotate_z(angle):
    c, s = math.cos(angle), math.sin(angle)
    return np.array([[c, -s, 0, 0], [s, c, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1.0]])


def place(part, *matrices):
    """The part moved by the matrices, the last applied first."""
    m = np.eye(4)
    for matrix in matrices:
        m = m @ matrix
    return part.transformed(m)


# Cross-sections and lofts ---------------------------------------------------

def ellipse(rx, ry, n, y=0.0, phase=0.0):
    """n points counter-clockwise around an ellipse (seen from +z)."""
    return [(rx * math.cos(phase + 2 * math.pi * i / n), y + ry * math.sin(phase + 2 * math.pi * i / n))
            for i in range(n)]


def loft(sections, start_tip=None, end_tip=None, material="hull", start_cap=None, end_cap=None):
    """A hull through cross-sections [(z, [(x, y), ...])] of equal point
    counts, in rising z, each ring counter-clockwise seen from +z. An end
    closes on a tip point (x, y, z) when one is given, else with a flat cap
    (in its own material when one is named: an engine's glowing back)."""
    mesh = Mesh()
    rings = [[mesh.vertex((x, y, z)) for x, y in ring] for z, ring in sections]
    n = len(rings[0])
    for back, front in zip(rings, rings[1:]):
        for i in range(n):
            j = (i + 1) % n
            mesh.face([back[i], back[j], front[j], front[i]], material)
    first, last = rings[0], rings[-1]
    if start_tip is not None:
        tip = mesh.vertex(start_tip)
        for i in range(n):
            mesh.face([first[(i + 1) % n], first[i], tip], material)
    else:
        mesh.face(list(reversed(first)), start_cap or material)
    if end_tip is not None:
        tip = mesh.vertex(end_tip)
        for i in range(n):
            mesh.face([last[i], last[(i + 1) % n], tip], material)
    else:
        mesh.face(list(last), end_cap or material)
    return mesh


def prism(outline, thickness, material="hull"):
    """A flat plate: the outline [(x, z)] (either way round) extruded
    thickness along y about y = 0: wings, fins, decks."""
    area = sum(x0 * z1 - x1 * z0 for (x0, z0), (x1, z1) in zip(outline, outline[1:] + outline[:1]))
    if area < 0:
        outline = list(reversed(outline))  # counter-clockwise drawn with x to the right and z up
    mesh = Mesh()
    half = thickness / 2
    top = [mesh.vertex((x, half, z)) for x, z in outline]
    bottom = [mesh.vertex((x, -half, z)) for x, z in outline]
    n = len(outline)
    # Seen from above (+y) the outline runs clockwise.
    mesh.face(list(reversed(top)), material)
    mesh.face(list(bottom), material)
    for i in range(n):
        j = (i + 1) % n
        mesh.face([top[i], top[j], bottom[j], bottom[i]], material)
    return mesh


def box(centre, size, material="hull"):
    cx, cy, cz = centre
    sx, sy, sz = (s / 2 for s in size)
    ring = [(cx + sx, cy - sy), (cx + sx, cy + sy), (cx - sx, cy + sy), (cx - sx, cy - sy)]
    return loft([(cz - sz, ring), (cz + sz, ring)], material=material)


def cylinder(radius, length, n, material="hull", start_cap=None, end_cap=None, radius_end=None):
    """Along +z from z = 0 to length; a cone when radius_end is 0."""
    end = radius if radius_end is None else radius_end
    if end == 0:
        return loft([(0.0, ellipse(radius, radius, n))], end_tip=(0, 0, length), material=material,
                    start_cap=start_cap)
    return loft([(0.0, ellipse(radius, radius, n)), (length, ellipse(end, end, n))], material=material,
                start_cap=start_cap, end_cap=end_cap)


def uv_sphere(radius, rings, segments, material="hull"):
    sections = []
    for k in range(1, rings):
        a = math.pi * k / rings - math.pi / 2
        sections.append((radius * math.sin(a), ellipse(radius * math.cos(a), radius * math.cos(a), segments)))
    return loft(sections, start_tip=(0, 0, -radius), end_tip=(0, 0, radius), material=material)


def icosphere(radius, subdivisions, material="hull"):
    t = (1 + 5 ** 0.5) / 2
    points = [(-1, t, 0), (1, t, 0), (-1, -t, 0), (1, -t, 0), (0, -1, t), (0, 1, t), (0, -1, -t), (0, 1, -t),
              (t, 0, -1), (t, 0, 1), (-t, 0, -1), (-t, 0, 1)]
    points = [np.array(p, dtype=np.float64) / np.linalg.norm(p) for p in points]
    faces = [(0, 11, 5), (0, 5, 1), (0, 1, 7), (0, 7, 10), (0, 10, 11), (1, 5, 9), (5, 11, 4), (11, 10, 2),
             (10, 7, 6), (7, 1, 8), (3, 9, 4), (3, 4, 2), (3, 2, 6), (3, 6, 8), (3, 8, 9), (4, 9, 5),
             (2, 4, 11), (6, 2, 10), (8, 6, 7), (9, 8, 1)]
    for _ in range(subdivisions):
        middles = {}

        def middle(a, b):
            key = (min(a, b), max(a, b))
            if key not in middles:
                m = points[a] + points[b]
                points.append(m / np.linalg.norm(m))
                middles[key] = len(points) - 1
            return middles[key]

        faces = [f for a, b, c in faces
                 for f in ((a, middle(a, b), middle(c, a)), (b, middle(b, c), middle(a, b)),
                           (c, middle(c, a), middle(b, c)), (middle(a, b), middle(b, c), middle(c, a)))]
    mesh = Mesh()
    for p in points:
        mesh.vertex(p * radius)
    for f in faces:
        mesh.face(f, material)
    return mesh


def torus(major, minor, n_major, n_minor, material="hull"):
    """About the y axis, in the plane y = 0."""
    mesh = Mesh()
    grid = []
    for i in range(n_major):
        a = 2 * math.pi * i / n_major
        row = []
        for j in range(n_minor):
            b = 2 * math.pi * j / n_minor
            r = major + minor * math.cos(b)
            row.append(mesh.vertex((r * math.cos(a), minor * math.sin(b), r * math.sin(a))))
        grid.append(row)
    for i in range(n_major):
        for j in range(n_minor):
            a, b = grid[i][j], grid[(i + 1) % n_major][j]
            c, d = grid[(i + 1) % n_major][(j + 1) % n_minor], grid[i][(j + 1) % n_minor]
            mesh.face([a, d, c, b], material)
    return mesh


def displaced(part, amount, rng, lumps=6):
    """The part's vertices pushed along their direction from the origin by
    smooth lumpy noise: rock from a sphere."""
    directions = rng.normal(size=(lumps, 3))
    directions /= np.linalg.norm(directions, axis=1, keepdims=True)
    weights = rng.uniform(0.4, 1.0, size=lumps)
    out = Mesh()
    for p in part.positions:
        d = p / np.linalg.norm(p)
        bump = sum(w * max(0.0, float(d @ c)) ** 3 for w, c in zip(weights, directions))
        out.positions.append(p * (1 + amount * (bump - 0.5) + rng.uniform(-0.04, 0.04)))
    out.faces = [(list(f), m) for f, m in part.faces]
    return out
