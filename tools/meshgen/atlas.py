"""Texture layout and OBJ / MTL output.

Every triangle takes its texture coordinates from a planar projection chosen
by the direction it faces, into one region of the texture:

    top (+y)      left half, model x across and z down the image (bow at the top)
    sides (+-x)   y across, z down
    bottom (-y)   x across, z down
    front, back   x across, y down
    materials     small tiles of their own (accent, engine, glass, dark)

A projection keeps the model's proportions, so painting a region is painting
the hull seen from that side. Regions are (left, top, right, bottom) in
texture units with the image's top row at 0.
"""

import numpy as np

REGIONS = {
    "top": (0.0, 0.0, 0.5, 1.0),
    "side": (0.5, 0.0, 0.75, 1.0),
    "bottom": (0.75, 0.5, 1.0, 1.0),
    "front": (0.75, 0.25, 0.875, 0.5),
    "back": (0.875, 0.25, 1.0, 0.5),
}
TILES = {
    "accent": (0.75, 0.0, 0.875, 0.125),
    "engine": (0.875, 0.0, 1.0, 0.125),
    "glass": (0.75, 0.125, 0.875, 0.25),
    "dark": (0.875, 0.125, 1.0, 0.25),
}
# A sliver of every region stays unused, so filtering does not pull in the
# colours of the region beside it.
MARGIN = 0.01


class Projection:
    """Model coordinates to texture coordinates for one region: which two
    axes, and the scale and offset that fit the model's box into it."""

    # (axis across, sign, axis down, sign): the bow (+z) at the image's top.
    AXES = {"top": (0, 1, 2, -1), "bottom": (0, 1, 2, -1), "side": (1, -1, 2, -1),
            "front": (0, 1, 1, -1), "back": (0, 1, 1, -1)}

    def __init__(self, region, lo, hi, rect=None):
        self.region = region
        self.rect = rect or REGIONS[region]
        axis_u, self.sign_u, axis_v, self.sign_v = self.AXES.get(region, (0, 1, 2, -1))
        self.axis_u, self.axis_v = axis_u, axis_v
        left, top, right, bottom = self.rect
        width, height = right - left - 2 * MARGIN, bottom - top - 2 * MARGIN
        extent_u = max(hi[axis_u] - lo[axis_u], 1e-6)
        extent_v = max(hi[axis_v] - lo[axis_v], 1e-6)
        self.scale = min(width / extent_u, height / extent_v)  # texture units per model unit
        self.centre_model = ((lo[axis_u] + hi[axis_u]) / 2, (lo[axis_v] + hi[axis_v]) / 2)
        self.centre_texture = ((left + right) / 2, (top + bottom) / 2)

    def uv(self, p):
        """(u, t): t counts down from the image's top row."""
        u = self.centre_texture[0] + self.sign_u * (p[self.axis_u] - self.centre_model[0]) * self.scale
        t = self.centre_texture[1] + self.sign_v * (p[self.axis_v] - self.centre_model[1]) * self.scale
        return u, t

    def model(self, u, t):
        """The two model coordinates at texture point (u, t) (arrays welcome)."""
        a = self.centre_model[0] + (u - self.centre_texture[0]) / (self.sign_u * self.scale)
        b = self.centre_model[1] + (t - self.centre_texture[1]) / (self.sign_v * self.scale)
        return a, b

    def along_and_height(self, a, b):
        """The model coordinates of (a, b) as a length (z on the sides, x
        seen from the front or back) and a height (y)."""
        coordinates = {self.axis_u: a, self.axis_v: b}
        return coordinates.get(2, coordinates.get(0)), coordinates.get(1)


def region_of(normal):
    """Which hull region a face facing this way is painted in."""
    ax = np.argmax(np.abs(normal))
    if ax == 1:
        return "top" if normal[1] > 0 else "bottom"
    if ax == 0:
        return "side"
    return "front" if normal[2] > 0 else "back"


def triangles(mesh):
    """Fan triangles of every face, counter-clockwise from outside, with
    the face's normal and material."""
    for indices, material in mesh.faces:
        points = [mesh.positions[i] for i in indices]
        normal = np.zeros(3)
        for a, b in zip(points, points[1:] + points[:1]):  # Newell's method
            normal += np.cross(a, b)
        length = np.linalg.norm(normal)
        if length == 0:
            continue
        normal /= length
        for k in range(1, len(points) - 1):
            yield (points[0], points[k], points[k + 1]), normal, material


def hull_projections(mesh):
    """The projection of every hull region, fitted to the whole mesh."""
    lo, hi = mesh.bounds()
    return {region: Projection(region, lo, hi) for region in REGIONS}


def material_box(mesh, material):
    points = [mesh.positions[i] for f, m in mesh.faces if m == material for i in f]
    return np.min(points, axis=0), np.max(points, axis=0)


def write_obj(mesh, name, group):
    """The OBJ text of the mesh as one group, and its MTL text. Faces are
    written clockwise seen from outside: the engine mirrors x when it loads
    a mesh, which turns them to its own front-face winding."""
    hull = hull_projections(mesh)
    tiles = {}

    def projection(normal, material):
        region = region_of(normal)
        if material not in TILES:
            return hull[region]
        if (material, region) not in tiles:  # a tile shows its parts fitted to their own box
            tiles[(material, region)] = Projection(region, *material_box(mesh, material), TILES[material])
        return tiles[(material, region)]

    lines = [f"# {name}: generated by tools/meshgen", f"mtllib {name}.mtl"]
    positions, uvs, normals, faces = [], [], [], []
    for (a, b, c), normal, material in triangles(mesh):
        fitted = projection(normal, material)
        normals.append(normal)
        corners = []
        for p in (a, c, b):  # clockwise from outside
            positions.append(p)
            u, t = fitted.uv(p)
            uvs.append((u, 1.0 - t))
            corners.append((len(positions), len(uvs), len(normals)))
        faces.append(corners)
    lines += [f"v {p[0]:.4f} {p[1]:.4f} {p[2]:.4f}" for p in positions]
    lines += [f"vt {u:.5f} {v:.5f}" for u, v in uvs]
    lines += [f"vn {n[0]:.4f} {n[1]:.4f} {n[2]:.4f}" for n in normals]
    lines += [f"o {group}", f"usemtl {name}"]
    lines += ["f " + " ".join(f"{p}/{t}/{n}" for p, t, n in face) for face in faces]
    mtl = "\n".join([f"newmtl {name}", "Ka 0 0 0", "Kd 1 1 1", "Ks 0.5 0.5 0.5", "Ns 32", "illum 2",
                     f"map_Kd {name}_diffuse.png", f"map_Ks {name}_specular.png",
                     f"map_Bump {name}_normal.png", ""])
    return "\n".join(lines) + "\n", mtl
