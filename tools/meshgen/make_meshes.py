#!/usr/bin/python3
"""Writes the game's meshes and their textures into the data folder: for every
hull of data/shipData.yaml, graphics/ships/<art file root>.obj with its .mtl
and the textures <root>_diffuse, _emissive, _specular and _normal (.png); and
the meshes the 3D view loads by name: sphere, drone, bball and HaloBall.

Deterministic: the same ship list gives the same files. A file is rewritten
only when its content changes; when a mesh changes, the caches the game made
from it (.qelmesh, silhouettes, .pointcube) are removed so they are made again.
A stamp in the graphics folder records what made the files: while it matches,
the run ends at once.

    tools/meshgen/make_meshes.py [--data DATA_FOLDER]
"""

import argparse
import glob
import io
import os
import re
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))

import asset_stamp
import designs
from atlas import write_obj
from paint import paint

NAMED_MESHES = {
    "sphere": designs.marker_sphere,
    "drone": lambda: designs.drone(10.0),  # the 3D view draws it at a tenth
    "bball": designs.black_ball,
    "HaloBall": designs.halo_ball,
    "monster_part": designs.monster_part,
}


def ship_records(path):
    """(key, art file root, roles, origin) of every record of the ship list."""
    field = re.compile(r'^\s*"?(key|artfileroot|roles|origin)"?\s*:\s*"([^"]*)"')
    records, record = [], None
    with open(path, encoding="utf-8") as text:
        for line in text:
            match = field.match(line)
            if not match:
                continue
            name, value = match.groups()
            if name == "key":
                record = {"key": value}
                records.append(record)
            elif record is not None:
                record[name] = value
    return records


def design_for(record):
    root = record.get("artfileroot", record["key"])
    if root in designs.SHIP_DESIGNS:
        return designs.SHIP_DESIGNS[root]()
    for role in record.get("roles", "").split(","):
        if role.strip() in designs.ROLE_DESIGNS:
            return designs.ROLE_DESIGNS[role.strip()]()
    if record.get("origin") == "natural":
        return designs.asteroid_rock(zlib.crc32(root.encode()))
    if record.get("origin") == "munition":
        return designs.torpedo()
    return designs.unknown()


class Writer:
    """Writes files whole (temporary file, then rename) and only when their
    bytes change; says which changed."""

    def __init__(self):
        self.changed = []
        self.written = []  # every file, changed or not

    def bytes(self, path, data):
        self.written.append(path)
        try:
            with open(path, "rb") as old:
                if old.read() == data:
                    return False
        except OSError:
            pass
        os.makedirs(os.path.dirname(path), exist_ok=True)
        temporary = f"{path}.tmp.{os.getpid()}"
        with open(temporary, "wb") as new:
            new.write(data)
        os.replace(temporary, path)
        self.changed.append(path)
        return True

    def image(self, path, image):
        data = io.BytesIO()
        image.save(data, format="PNG", optimize=False)
        self.bytes(path, data.getvalue())


def write_mesh(writer, folder, name, design):
    obj, mtl = write_obj(design.mesh, name, "hull")
    if writer.bytes(f"{folder}/{name}.obj", obj.encode()):
        for derived in (f"{name}.qelmesh", f"{name}256.png", f"{name}1024.png", f"{name}.pointcube"):
            try:
                os.remove(f"{folder}/{derived}")
            except FileNotFoundError:
                pass
    writer.bytes(f"{folder}/{name}.mtl", mtl.encode())
    canvas = paint(design.mesh, design.livery, design.texture_size, zlib.crc32(name.encode()))
    canvas.save(folder, name, writer.image)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--data", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data"))
    data = parser.parse_args().data
    ship_list = os.path.join(data, "shipData.yaml")
    stamp = os.path.join(data, "graphics", ".meshes-stamp")
    digest = asset_stamp.fingerprint(sorted(glob.glob(os.path.join(HERE, "*.py"))) + [ship_list])
    if asset_stamp.is_current(stamp, digest):
        return
    writer = Writer()
    roots = {}
    for record in ship_records(ship_list):
        roots.setdefault(record.get("artfileroot", record["key"]), record)
    for root, record in sorted(roots.items()):
        write_mesh(writer, os.path.join(data, "graphics", "ships"), root, design_for(record))
    for name, build in NAMED_MESHES.items():
        write_mesh(writer, os.path.join(data, "graphics"), name, build())
    asset_stamp.record(stamp, digest, writer.written)
    print(f"meshes: {len(roots)} hulls and {len(NAMED_MESHES)} named meshes, {len(writer.changed)} files written")


if __name__ == "__main__":
    main()
