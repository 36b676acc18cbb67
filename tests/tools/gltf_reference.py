#!/usr/bin/env python3
"""Where a glTF scene's vertices land in a 640 x 480 picture, worked out from
the glTF file alone, compared with where the engine puts them.

It reads the file (binary or JSON), samples its translation and rotation
channels at frame / 60 s, composes the node trees, and projects a few vertices
of each mesh node through the file's first perspective camera. The engine's
picture has the same angle across its width and its height, and holds the
camera's whole frame (4:3 when the file gives no aspect ratio): as wide as a
wide frame, as tall as an upright one. The engine's side is the
camera-space vertices `kvor-inspect scene FILE --frame N` prints, projected
with the field of view an independent reading of the .kvs file finds.

    gltf_reference.py GLTF KVS INSPECT_JSON
prints the largest distance in pixels, then one line per mesh.
"""

import base64
import json
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kvs_reference  # noqa: E402

VERTICES_PER_MESH = 12


def load(path):
    data = open(path, "rb").read()
    binary = None
    if data[:4] == b"glTF":
        length = struct.unpack_from("<I", data, 12)[0]
        model = json.loads(data[20:20 + length])
        rest = 20 + length
        if rest + 8 <= len(data):
            binary = data[rest + 8:rest + 8 + struct.unpack_from("<I", data, rest)[0]]
    else:
        model = json.loads(data)
    buffers = []
    for buffer in model.get("buffers", []):
        uri = buffer.get("uri")
        if uri is None:
            buffers.append(binary)
        elif uri.startswith("data:"):
            buffers.append(base64.b64decode(uri.split(",", 1)[1]))
        else:
            buffers.append(open(os.path.join(os.path.dirname(path), uri), "rb").read())
    return model, buffers


def floats(model, buffers, index):
    accessor = model["accessors"][index]
    view = model["bufferViews"][accessor["bufferView"]]
    width = {"SCALAR": 1, "VEC2": 2, "VEC3": 3, "VEC4": 4}[accessor["type"]]
    assert accessor["componentType"] == 5126
    stride = view.get("byteStride", 4 * width)
    start = view.get("byteOffset", 0) + accessor.get("byteOffset", 0)
    data = buffers[view["buffer"]]
    return [struct.unpack_from("<%df" % width, data, start + i * stride) for i in range(accessor["count"])]


def q_mul(a, b):
    ax, ay, az, aw = a
    bx, by, bz, bw = b
    return (aw * bx + ax * bw + ay * bz - az * by, aw * by - ax * bz + ay * bw + az * bx,
            aw * bz + ax * by - ay * bx + az * bw, aw * bw - ax * bx - ay * by - az * bz)


def q_norm(q):
    n = math.sqrt(sum(c * c for c in q))
    return tuple(c / n for c in q)


def rotate(q, v):
    x, y, z, _ = q_mul(q_mul(q, (v[0], v[1], v[2], 0.0)), (-q[0], -q[1], -q[2], q[3]))
    return (x, y, z)


def slerp(a, b, s):
    d = sum(x * y for x, y in zip(a, b))
    if d < 0:
        b, d = tuple(-c for c in b), -d
    if d > 0.9995:
        return q_norm(tuple(x * (1 - s) + y * s for x, y in zip(a, b)))
    angle = math.acos(d)
    wa, wb = math.sin((1 - s) * angle) / math.sin(angle), math.sin(s * angle) / math.sin(angle)
    return q_norm(tuple(x * wa + y * wb for x, y in zip(a, b)))


def sample(times, values, interpolation, t, is_rotation):
    cubic = interpolation == "CUBICSPLINE"
    key = (lambda k: values[3 * k + 1]) if cubic else (lambda k: values[k])
    if t <= times[0]:
        return key(0)
    if t >= times[-1]:
        return key(len(times) - 1)
    k = max(i for i in range(len(times)) if times[i] <= t)
    span = times[k + 1] - times[k]
    s = (t - times[k]) / span
    if interpolation == "STEP":
        return key(k)
    if interpolation == "LINEAR":
        if is_rotation:
            return slerp(key(k), key(k + 1), s)
        return tuple(a * (1 - s) + b * s for a, b in zip(key(k), key(k + 1)))
    h = (2 * s**3 - 3 * s**2 + 1, s**3 - 2 * s**2 + s, -2 * s**3 + 3 * s**2, s**3 - s**2)
    out, into = values[3 * k + 2], values[3 * (k + 1)]
    value = tuple(h[0] * a + h[1] * span * b + h[2] * c + h[3] * span * d
                  for a, b, c, d in zip(key(k), out, key(k + 1), into))
    return q_norm(value) if is_rotation else value


class Scene:
    def __init__(self, path):
        self.model, self.buffers = load(path)
        self.nodes = self.model.get("nodes", [])
        self.parent = {}
        for i, node in enumerate(self.nodes):
            for child in node.get("children", []):
                self.parent[child] = i
        self.channels = {}
        for animation in self.model.get("animations", []):
            for channel in animation["channels"]:
                target = channel["target"]
                if target["path"] not in ("translation", "rotation"):
                    continue
                sampler = animation["samplers"][channel["sampler"]]
                self.channels[(target["node"], target["path"])] = (
                    [t[0] for t in floats(self.model, self.buffers, sampler["input"])],
                    floats(self.model, self.buffers, sampler["output"]),
                    sampler.get("interpolation", "LINEAR"))

    def trs(self, index, t):
        node = self.nodes[index]
        translation = tuple(node.get("translation", (0, 0, 0)))
        rotation = tuple(node.get("rotation", (0, 0, 0, 1)))
        for path in ("translation", "rotation"):
            if (index, path) in self.channels:
                times, values, interpolation = self.channels[(index, path)]
                value = sample(times, values, interpolation, t, path == "rotation")
                if path == "translation":
                    translation = value
                else:
                    rotation = value
        return translation, rotation, tuple(node.get("scale", (1, 1, 1)))

    def to_world(self, index, t, point):
        """point in the node's space carried to the world's."""
        while index is not None:
            translation, rotation, scale = self.trs(index, t)
            point = rotate(rotation, [p * s for p, s in zip(point, scale)])
            point = tuple(p + d for p, d in zip(point, translation))
            index = self.parent.get(index)
        return point

    def world_rotation(self, index, t):
        q = (0.0, 0.0, 0.0, 1.0)
        while index is not None:
            q = q_mul(self.trs(index, t)[1], q)
            index = self.parent.get(index)
        return q

    def camera_node(self):
        for i, node in enumerate(self.nodes):
            if "camera" in node and self.model["cameras"][node["camera"]]["type"] == "perspective":
                return i
        return None


def project(point, scale):
    """A camera-space point of the engine's kind (x right, y up, z ahead) in pixels."""
    return (320 + 320 * scale * point[0] / point[2], 240 - 240 * scale * point[1] / point[2])


def expected(scene, frame):
    t = frame / 60.0
    node = scene.camera_node()
    if node is None:
        position, rotation, horizontal = (0, 0, 0), (0, 0, 0, 1), 1.57
    else:
        position = scene.to_world(node, t, (0, 0, 0))
        rotation = scene.world_rotation(node, t)
        lens = scene.model["cameras"][scene.nodes[node]["camera"]]["perspective"]
        half_height = math.tan(lens["yfov"] / 2)
        half_width = half_height * lens.get("aspectRatio", 4 / 3)
        horizontal = 2 * math.atan(max(half_width, half_height))
    back = (-rotation[0], -rotation[1], -rotation[2], rotation[3])
    scale = 1 / math.tan(horizontal / 2)
    points = {}
    for index, node_data in enumerate(scene.nodes):
        if "mesh" not in node_data:
            continue
        primitive = scene.model["meshes"][node_data["mesh"]]["primitives"][0]
        vertices = floats(scene.model, scene.buffers, primitive["attributes"]["POSITION"])[:VERTICES_PER_MESH]
        seen = []
        for vertex in vertices:
            world = scene.to_world(index, t, vertex)
            x, y, z = rotate(back, [w - p for w, p in zip(world, position)])
            seen.append(project((x, y, -z), scale) if -z > 1.0 else None)
        points[node_data.get("name", "node%d" % index)] = seen
    return points


def main():
    gltf, kvs, inspect_json = sys.argv[1:4]
    scene = Scene(gltf)
    kvs_scene = kvs_reference.read_scene(open(kvs, "rb").read())
    cameras = [o for o in kvs_reference.link_and_order(kvs_scene["objects"]) if o["kind"] in (2, 3)]
    fov = cameras[0]["fieldOfView"][0] if cameras else 1.57
    engine_scale = 1 / math.tan(fov / 2)
    inspected = json.load(open(inspect_json))
    worst, lines = 0.0, []
    for frame in inspected["frames"]:
        wanted = expected(scene, frame["frame"])
        for mesh in frame["meshes"]:
            if mesh["name"] not in wanted:
                continue
            distance = 0.0
            for want, got in zip(wanted[mesh["name"]], mesh["vertices"]):
                if want is None or got[2] <= 1.0:
                    continue
                x, y = project(got, engine_scale)
                distance = max(distance, math.hypot(x - want[0], y - want[1]))
            worst = max(worst, distance)
            lines.append("frame %d %s %.3f" % (frame["frame"], mesh["name"], distance))
    print("%.3f" % worst)
    print("\n".join(lines))


if __name__ == "__main__":
    main()
