#!/usr/bin/env python3
"""glTF files of the kinds a Blender export does not make, written by hand:
triangle strips and fans, 8-bit indices, STEP and CUBICSPLINE samplers, a
camera turned by its own animation (no target), an external buffer and image,
a scene without a camera, cameras with wide and upright frames, and broken
files for the importer to refuse.

    make_odd_fixtures.py DIRECTORY
"""

import base64
import json
import math
import os
import struct
import sys
import zlib


class Builder:
    def __init__(self):
        self.data = bytearray()
        self.gltf = {"asset": {"version": "2.0", "generator": "make_odd_fixtures.py"},
                     "scene": 0, "scenes": [{"nodes": []}], "nodes": [], "meshes": [],
                     "accessors": [], "bufferViews": []}

    def accessor(self, fmt, items, kind, component, **extra):
        while len(self.data) % 4:
            self.data.append(0)
        start = len(self.data)
        for item in items:
            self.data += struct.pack(fmt, *(item if isinstance(item, (tuple, list)) else (item,)))
        self.gltf["bufferViews"].append({"buffer": 0, "byteOffset": start, "byteLength": len(self.data) - start})
        accessor = {"bufferView": len(self.gltf["bufferViews"]) - 1, "componentType": component,
                    "count": len(items), "type": kind, **extra}
        if fmt == "<3f":
            accessor["min"] = [min(i[c] for i in items) for c in range(3)]
            accessor["max"] = [max(i[c] for i in items) for c in range(3)]
        self.gltf["accessors"].append(accessor)
        return len(self.gltf["accessors"]) - 1

    def mesh(self, name, primitives):
        self.gltf["meshes"].append({"name": name, "primitives": primitives})
        return len(self.gltf["meshes"]) - 1

    def node(self, root=True, **fields):
        self.gltf["nodes"].append(fields)
        index = len(self.gltf["nodes"]) - 1
        if root:
            self.gltf["scenes"][0]["nodes"].append(index)
        return index

    def channel(self, node, path, times, values, interpolation):
        animations = self.gltf.setdefault("animations", [{"channels": [], "samplers": []}])
        samplers = animations[0]["samplers"]
        samplers.append({"input": self.accessor("<f", times, "SCALAR", 5126, min=[min(times)], max=[max(times)]),
                         "output": self.accessor("<%df" % len(values[0]), values,
                                                 "VEC%d" % len(values[0]), 5126),
                         "interpolation": interpolation})
        animations[0]["channels"].append({"sampler": len(samplers) - 1, "target": {"node": node, "path": path}})

    def camera(self, yfov=0.8, aspect=4 / 3):
        self.gltf.setdefault("cameras", []).append(
            {"type": "perspective", "perspective": {"yfov": yfov, "aspectRatio": aspect, "znear": 0.1}})
        return len(self.gltf["cameras"]) - 1

    def save(self, path, external=None):
        if external:
            self.gltf["buffers"] = [{"uri": external, "byteLength": len(self.data)}]
            open(os.path.join(os.path.dirname(path), external), "wb").write(self.data)
        else:
            uri = "data:application/octet-stream;base64," + base64.b64encode(self.data).decode()
            self.gltf["buffers"] = [{"uri": uri, "byteLength": len(self.data)}]
        with open(path, "w") as out:
            json.dump(self.gltf, out, indent=1)


def quaternion(axis, degrees):
    half = math.radians(degrees) / 2
    n = math.sqrt(sum(a * a for a in axis))
    return [a / n * math.sin(half) for a in axis] + [math.cos(half)]


def png(width, height, pixels):
    """An RGBA PNG of rows of (r, g, b, a) tuples."""
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in pixels)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def quad(builder, size=1.0):
    s = size / 2
    return builder.accessor("<3f", [(-s, -s, 0), (s, -s, 0), (s, s, 0), (-s, s, 0)], "VEC3", 5126)


def strips(directory):
    """Strips with 8-bit indices, an unindexed fan under a stretched parent,
    and a still camera rolled and turned, which the engine gets with no target."""
    b = Builder()
    zigzag = b.accessor("<3f", [(x * 0.5 - 1.5, (x % 2) * 0.8, 0) for x in range(7)], "VEC3", 5126)
    uv = b.accessor("<2f", [(x / 6, x % 2) for x in range(7)], "VEC2", 5126)
    order = b.accessor("<B", list(range(7)), "SCALAR", 5121)
    strip = b.mesh("strip", [{"attributes": {"POSITION": zigzag, "TEXCOORD_0": uv}, "indices": order, "mode": 5}])
    fan_points = [(0, 0, 0)] + [(math.cos(a * math.pi / 4) * 0.6, math.sin(a * math.pi / 4) * 0.6, 0) for a in range(6)]
    fan = b.mesh("fan", [{"attributes": {"POSITION": b.accessor("<3f", fan_points, "VEC3", 5126)}, "mode": 6}])
    b.node(name="zigzag", mesh=strip, translation=[0, 0.4, -0.5])
    fan_node = b.node(root=False, name="fan", mesh=fan, translation=[0.3, 0, 0], rotation=quaternion((1, 0, 0), 25))
    b.node(name="holder", children=[fan_node], translation=[0.5, -1.0, -1], scale=[2, 1, 1])
    turn = [0, 0, 0, 1]
    for axis, degrees in (((0, 1, 0), 12), ((1, 0, 0), -8), ((0, 0, 1), 20)):
        turn = multiply(turn, quaternion(axis, degrees))
    b.node(name="eye", camera=b.camera(0.9), translation=[1.2, 0.3, 5], rotation=turn)
    b.save(os.path.join(directory, "strips.gltf"))


def framed(directory):
    """A 16:9 and a 3:4 camera, each with a square at every corner of its
    frame, which the engine's picture must hold whole."""
    for name, aspect in (("wide", 16 / 9), ("upright", 3 / 4)):
        b = Builder()
        square = b.mesh("square", [{"attributes": {"POSITION": quad(b, 0.4)}}])
        half_height = 10 * math.tan(0.35)
        for i, (x, y) in enumerate(((-1, -1), (1, -1), (1, 1), (-1, 1))):
            b.node(name="corner%d" % i, mesh=square,
                   translation=[x * (half_height * aspect - 0.3), y * (half_height - 0.3), -10])
        b.node(name="eye", camera=b.camera(0.7, aspect))
        b.save(os.path.join(directory, name + ".gltf"))


def multiply(a, b):
    ax, ay, az, aw = a
    bx, by, bz, bw = b
    return [aw * bx + ax * bw + ay * bz - az * by, aw * by - ax * bz + ay * bw + az * bx,
            aw * bz + ax * by - ay * bx + az * bw, aw * bw - ax * bx - ay * by - az * bz]


def samplers(directory):
    """STEP and CUBICSPLINE channels at times off the 60 fps grid, a child of a
    spinning node, and a camera whose own rotation is animated."""
    b = Builder()
    square = b.mesh("square", [{"attributes": {"POSITION": quad(b)}, "indices": b.accessor(
        "<H", [0, 1, 2, 0, 2, 3], "SCALAR", 5123)}])
    stepper = b.node(name="stepper", mesh=square, translation=[-2, 0, 0])
    b.channel(stepper, "translation", [0.0, 0.51, 1.13], [(-2, 0, 0), (-2, 1, 0), (-1.5, -0.5, -1)], "STEP")
    # What the engine cannot show: a growing node, a light, an emissive surface.
    b.channel(stepper, "scale", [0.0, 1.0], [(1, 1, 1), (2, 2, 2)], "LINEAR")
    b.gltf["extensionsUsed"] = ["KHR_lights_punctual"]
    b.gltf["extensions"] = {"KHR_lights_punctual": {"lights": [{"type": "point", "color": [1, 1, 1]}]}}
    b.node(name="lamp", translation=[0, 3, 0], extensions={"KHR_lights_punctual": {"light": 0}})
    b.gltf["materials"] = [{"name": "glow", "emissiveFactor": [1, 0.5, 0]}]
    b.gltf["meshes"][square]["primitives"][0]["material"] = 0
    rider = b.node(root=False, name="rider", mesh=square, translation=[0, 1.5, 0], scale=[0.5, 0.5, 0.5])
    spinner = b.node(name="spinner", mesh=square, translation=[1, 0, 0], children=[rider])
    b.channel(spinner, "rotation", [0.0, 0.7, 1.5],
              [(0, 0, 0, 0), tuple(quaternion((0, 0, 1), 0)), (0, 0, 0.5, 0),
               (0, 0, 0.3, 0), tuple(quaternion((0, 0.6, 0.8), 70)), (0, 0, 0.3, 0),
               (0, 0, 0, 0), tuple(quaternion((1, 0, 0), 40)), (0, 0, 0, 0)], "CUBICSPLINE")
    b.channel(spinner, "translation", [0.2, 1.4],
              [(0, 0, 0), (1, 0, 0), (2, 0, 0), (0, 0, 0), (1.5, 0.5, -1), (0, 0, 0)], "CUBICSPLINE")
    eye = b.node(name="eye", camera=b.camera(0.7), translation=[0, 0.5, 6])
    b.channel(eye, "rotation", [0.0, 0.8, 1.6],
              [tuple(quaternion((0, 1, 0), -15)), tuple(multiply(quaternion((0, 1, 0), 5), quaternion((0, 0, 1), 30))),
               tuple(quaternion((1, 0, 0), 10))], "LINEAR")
    b.channel(eye, "translation", [0.0, 1.6], [(0, 0.5, 6), (1, 1, 7)], "LINEAR")
    b.save(os.path.join(directory, "samplers.gltf"))


def external(directory):
    """A buffer and an image in files of their own, a blended textured
    material, a colour alone, and no camera: the engine's default one."""
    b = Builder()
    pixels = [[(255, 40 * x // 2, 30 * y, 255 if x < 4 else 100) for x in range(8)] for y in range(8)]
    open(os.path.join(directory, "external.png"), "wb").write(png(8, 8, pixels))
    b.gltf["images"] = [{"uri": "external.png"}]
    b.gltf["textures"] = [{"source": 0}]
    b.gltf["materials"] = [
        {"name": "tinted", "alphaMode": "BLEND", "pbrMetallicRoughness": {"baseColorTexture": {"index": 0}}},
        {"name": "red", "pbrMetallicRoughness": {"baseColorFactor": [1, 0, 0, 1]}},
    ]
    uv = b.accessor("<2f", [(0, 1), (1, 1), (1, 0), (0, 0)], "VEC2", 5126)
    indices = b.accessor("<I", [0, 1, 2, 0, 2, 3], "SCALAR", 5125)
    panel = b.mesh("panel", [{"attributes": {"POSITION": quad(b, 2), "TEXCOORD_0": uv}, "indices": indices,
                              "material": 0}])
    red = b.mesh("red", [{"attributes": {"POSITION": quad(b, 1)}, "indices": indices, "material": 1}])
    b.node(name="panel", mesh=panel, translation=[-1, 0, -5])
    b.node(name="red", mesh=red, translation=[1.2, 0.5, -4])
    b.save(os.path.join(directory, "external.gltf"), external="external.bin")


def broken(directory):
    """Files each wrong in one way; the name says how."""
    def triangle(mutate):
        b = Builder()
        points = b.accessor("<3f", [(0, 0, -3), (1, 0, -3), (0, 1, -3)], "VEC3", 5126)
        b.node(name="triangle", mesh=b.mesh("triangle", [{"attributes": {"POSITION": points}}]))
        mutate(b)
        return b

    def save(name, b):
        b.save(os.path.join(directory, name + ".gltf"))

    save("bad-version", triangle(lambda b: b.gltf["asset"].update(version="1.0")))
    save("bad-accessor-range", triangle(lambda b: b.gltf["accessors"][0].update(count=1000)))
    save("bad-view-range", triangle(lambda b: b.gltf["bufferViews"][0].update(byteLength=4000)))
    save("bad-index", triangle(lambda b: b.gltf["meshes"][0]["primitives"][0].update(
        indices=b.accessor("<H", [0, 1, 7], "SCALAR", 5123))))
    save("bad-cycle", triangle(lambda b: b.gltf["nodes"].extend([{"children": [2]}, {"children": [1]}])))
    save("bad-image", triangle(lambda b: b.gltf.update(
        images=[{"uri": "data:image/png;base64," + base64.b64encode(b"\x89PNG not really").decode()}],
        textures=[{"source": 0}], materials=[{"pbrMetallicRoughness": {"baseColorTexture": {"index": 0}}}])))
    save("bad-long-animation", triangle(lambda b: b.channel(0, "translation", [0.0, 9000.0],
                                                            [(0, 0, 0), (1, 1, 1)], "LINEAR")))
    with open(os.path.join(directory, "bad-not-gltf.gltf"), "w") as out:
        out.write("this is not a glTF file\n")


if __name__ == "__main__":
    target = sys.argv[1]
    os.makedirs(target, exist_ok=True)
    strips(target)
    samplers(target)
    external(target)
    framed(target)
    broken(target)
