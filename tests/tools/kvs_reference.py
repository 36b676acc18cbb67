#!/usr/bin/env python3
"""An independent reading of .kvs scene files, for checking the engine.

Written from the file format alone, in double precision: it parses a scene
file, links and orders its objects, picks the camera, and works out for given
frames where the camera stands and where every mesh vertex lies in camera
space. It prints the same JSON object as `kvor-inspect scene`, or compares
such an object with its own (within a small tolerance for floats).

    kvs_reference.py FILE [--frame N]...
    kvs_reference.py compare FILE INSPECT_JSON [--frame N]...
"""

import json
import math
import struct
import sys


def f32(value):
    """value rounded to single precision, as the engine stores it."""
    return struct.unpack("<f", struct.pack("<f", value))[0]


class Cursor:
    def __init__(self, data):
        self.data = data
        self.at = 0

    def take(self, count):
        if self.at + count > len(self.data):
            raise ValueError("file ends at byte %d" % self.at)
        chunk = self.data[self.at:self.at + count]
        self.at += count
        return chunk

    def int32(self):
        return struct.unpack("<i", self.take(4))[0]

    def int16(self):
        return struct.unpack("<h", self.take(2))[0]

    def uint16(self):
        return struct.unpack("<H", self.take(2))[0]

    def uint8(self):
        return self.take(1)[0]

    def float32(self):
        return struct.unpack("<f", self.take(4))[0]

    def string(self):
        end = self.data.index(b"\0", self.at)
        text = self.data[self.at:end].decode("latin-1")
        self.at = end + 1
        return text

    def colour(self):
        return [self.float32(), self.float32(), self.float32()]

    def point(self):
        a, b, c = self.float32(), self.float32(), self.float32()
        return [a, c, b]

    def rotation(self):
        values = [self.float32() for _ in range(9)]
        return [[values[3 * column + row] for column in range(3)] for row in range(3)]


def frame_of(time, step):
    """Key time over frame step, truncated toward zero."""
    quotient = abs(time) // abs(step)
    return quotient if (time >= 0) == (step > 0) else -quotient


def sample_and_hold(keys, frame_count, step):
    if not keys:
        return None
    if len(keys) == frame_count:
        return [value for _, value in keys]
    table, current, cursor = [], keys[0][1], 0
    for frame in range(frame_count):
        if cursor < len(keys) and step > 0 and frame_of(keys[cursor][0], step) == frame:
            current = keys[cursor][1]
            cursor += 1
        table.append(current)
    return table


def read_animation(cursor, scene, of_camera):
    """(animated, position table or None, rotation table or None)."""
    kind = cursor.uint8()
    positions = rotations = None
    if kind == 0:
        return False, None, None
    if kind != 2:
        return True, None, None
    while True:
        flags = cursor.uint8()
        if flags == 0x80:
            return True, positions, rotations
        if flags & 1:
            keys = [(cursor.int32(), cursor.point()) for _ in range(cursor.int32())]
            positions = sample_and_hold(keys, scene["frameCount"], scene["frameStep"]) or positions
        if flags & 2:
            count = cursor.int32()
            keys = []
            for _ in range(count):
                time, a = cursor.int32(), cursor.float32()
                if of_camera:
                    keys.append((time, [a, 0.0, 0.0, 0.0]))
                else:
                    b, c, d = cursor.float32(), cursor.float32(), cursor.float32()
                    keys.append((time, [a, c, b, d]))
            rotations = sample_and_hold(keys, scene["frameCount"], scene["frameStep"]) or rotations


def read_object_header(cursor):
    header = {"name": cursor.string()}
    flags = cursor.uint8()
    header["parentName"] = cursor.string() if flags & 1 else None
    header["tag"] = cursor.int16()
    header["restRotation"] = cursor.rotation()
    header["position"] = cursor.point()
    header["restPosition"] = cursor.point()
    header["animated"] = False
    return header, flags


def read_header(cursor, scene):
    scene["name"] = cursor.string()
    for field in ("firstFrame", "lastFrame", "headerValueC", "frameStep"):
        scene[field] = cursor.int32()
    scene["frameCount"] = scene["lastFrame"] + 1
    for field in ("meshCount", "cameraCount", "extraCount"):
        scene[field] = cursor.int32()
    flags = cursor.uint8()
    scene["environmentName"] = scene["environmentColour"] = scene["ambientColour"] = None
    if flags & 1:
        scene["environmentName"] = cursor.string()
    elif not flags & 2:
        scene["environmentColour"] = cursor.colour()
    if not flags & 4:
        scene["ambientColour"] = cursor.colour()


def read_fog(cursor, scene):
    fog = {"mode": 0, "start": 0.0, "end": 0.0, "density": 0.0}
    if scene["version"] == 2:
        flags = cursor.uint8()
        if flags & 1 and not flags & 2:
            fog.update(mode=3, start=cursor.float32(), end=cursor.float32())
        elif flags & 1:
            fog.update(mode=2 if flags & 4 else 1, density=f32(cursor.float32() * 0.0001))
    scene["fog"] = fog


def read_material(cursor):
    ambient, diffuse, specular = cursor.point(), cursor.point(), cursor.point()
    transparency = cursor.float32()
    if transparency < 0.004:
        transparency = 0.0
    flags = cursor.uint8()
    count = cursor.uint8()
    names = [cursor.string() for _ in range(count if count < 128 else 0)]
    texture = names[0] if names else None
    opacity = f32(1.0 - transparency)
    if texture is not None and texture.lower().rsplit(".", 1)[-1] == "zkv":
        opacity = 0.5
    return {"opacity": opacity, "flags": flags, "texture": texture,
            "ambient": ambient, "diffuse": diffuse, "specular": specular}


def read_materials(cursor):
    sets = []
    for _ in range(cursor.int32()):
        count = max(cursor.int32(), 1)
        sets.append([read_material(cursor) for _ in range(count)])
    return sets


def read_mesh(cursor, scene):
    mesh, flags = read_object_header(cursor)
    mesh["kind"] = 4
    if flags & 2:
        cursor.int32()
    else:
        cursor.colour()
    mesh["baseVertices"] = [cursor.point() for _ in range(cursor.int32())]
    faces = cursor.int32()
    cursor.take(14 * faces)
    texture_vertices = cursor.int32()
    if texture_vertices > 0:  # coordinates: not part of the description
        cursor.take(8 * texture_vertices + 4 + 12 * faces)
    mesh["animated"], mesh["positionTrack"], mesh["rotationTrack"] = read_animation(cursor, scene, False)
    return mesh


def read_camera(cursor, scene):
    target_kind = cursor.uint8() == 1
    camera, _ = read_object_header(cursor)
    camera["kind"] = 3 if target_kind else 2
    objects = [camera]
    if target_kind:
        target, _ = read_object_header(cursor)
        target["kind"] = 1
        camera["target"] = target
        objects.append(target)
    camera["animated"], camera["positionTrack"], rotations = read_animation(cursor, scene, True)
    camera["rollTrack"] = [r[0] for r in rotations] if target_kind and rotations else None
    if target_kind:
        target["animated"], target["positionTrack"], _ = read_animation(cursor, scene, True)
    fov = []
    for _ in range(cursor.int32()):
        cursor.take(4)
        fov.append(cursor.float32())
    camera["fieldOfView"] = fov or [f32(1.57)]
    return objects


def read_scene(data):
    cursor = Cursor(data)
    magic = cursor.take(7)
    if magic not in (b"kvor001", b"kvor002"):
        raise ValueError("wrong magic")
    scene = {"version": int(magic[6:7])}
    read_header(cursor, scene)
    read_fog(cursor, scene)
    scene["materials"] = read_materials(cursor)
    objects = [read_mesh(cursor, scene) for _ in range(scene["meshCount"])]
    for _ in range(scene["cameraCount"]):
        objects += read_camera(cursor, scene)
    scene["objects"] = objects
    return scene


def link_and_order(objects):
    for child in objects:
        if child["parentName"] is None:
            continue
        for candidate in objects:
            if candidate["name"] == child["parentName"] and candidate is not child:
                child["parent"] = candidate

    def depth(item):
        steps = 0
        while "parent" in item:
            item, steps = item["parent"], steps + 1
        return steps

    table = [(depth(item), item) for item in objects]
    for i in range(len(table)):
        best = i
        for j in range(i, len(table)):
            if table[j][0] <= table[best][0]:
                best = j
        table[i], table[best] = table[best], table[i]
    return [item for _, item in table]


def normalised(v):
    length = math.sqrt(sum(c * c for c in v))
    return v if length == 0 else [c / length for c in v]


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def times(m, v):
    return [sum(m[i][k] * v[k] for k in range(3)) for i in range(3)]


def product(a, b):
    return [[sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)] for i in range(3)]


def minus(a, b):
    return [x - y for x, y in zip(a, b)]


def at(track, frame, rest):
    return track[frame] if track else rest


def place_camera(camera, frame):
    """(position, rotation) of the camera at frame."""
    if camera["kind"] == 2:
        rest = camera["restRotation"]
        return at(camera["positionTrack"], frame, camera["restPosition"]), [row[::-1] for row in rest]
    if camera["kind"] != 3:
        return [0.0, 0.0, 0.0], [[1.0, 0.0, 0.0], [0.0, 1.0, 0.0], [0.0, 0.0, 1.0]]
    eye = at(camera["positionTrack"], frame, camera["restPosition"])
    target = camera["target"]
    looked = at(target["positionTrack"], frame, target["restPosition"])
    d = normalised(minus(looked, eye))
    up = [-d[1], 0.0, 0.0] if d[0] == 0 and d[2] == 0 else [0.0, -1.0, 0.0]
    right = normalised(cross(d, up))
    upright = normalised(cross(right, d))
    rotation = [right, [-c for c in upright], d]
    if camera["rollTrack"]:
        r = camera["rollTrack"][frame]
        turn = [[math.cos(-r), math.sin(-r), 0.0], [-math.sin(-r), math.cos(-r), 0.0], [0.0, 0.0, 1.0]]
        rotation = product(rotation, turn)
    return eye, rotation


def quaternion_matrix(q):
    x, y, z, w = q
    n = x * x + y * y + z * z + w * w
    s = 2.0 / n if n != 0 else 1.0
    return [[1 - s * (y * y + z * z), s * (x * y - w * z), s * (x * z + w * y)],
            [s * (x * y + w * z), 1 - s * (x * x + z * z), s * (y * z - w * x)],
            [s * (x * z - w * y), s * (y * z + w * x), 1 - s * (x * x + y * y)]]


def camera_space(mesh, frame, eye, view):
    pivot = mesh["restPosition"]
    if mesh["rotationTrack"]:
        turn = quaternion_matrix(mesh["rotationTrack"][frame])
        moved = at(mesh["positionTrack"], frame, pivot)
        return [times(view, minus([a + b for a, b in zip(times(turn, minus(v, pivot)), moved)], eye))
                for v in mesh["baseVertices"]]
    if mesh["positionTrack"]:
        offset = minus(minus(mesh["positionTrack"][frame], pivot), eye)
        return [times(view, [a + b for a, b in zip(v, offset)]) for v in mesh["baseVertices"]]
    return [times(view, minus(v, eye)) for v in mesh["baseVertices"]]


def describe(scene, frames):
    objects = link_and_order(scene["objects"])
    cameras = [item for item in objects if item["kind"] in (2, 3)]
    camera = cameras[0] if cameras else {"kind": 0, "name": None}
    meshes = [item for item in objects if item["kind"] == 4]
    out = {key: scene[key] for key in ("version", "name", "firstFrame", "lastFrame", "frameCount", "frameStep",
                                       "headerValueC", "meshCount", "cameraCount", "extraCount",
                                       "environmentName", "environmentColour", "ambientColour", "fog",
                                       "materials")}
    out["objects"] = [{"name": item["name"], "kind": item["kind"], "parentName": item["parentName"],
                       "parent": item["parent"]["name"] if "parent" in item else None,
                       "animated": item["animated"], "tag": item["tag"]} for item in objects]
    out["activeCamera"] = camera["name"]
    out["frames"] = []
    for frame in frames:
        eye, view = place_camera(camera, frame)
        out["frames"].append({"frame": frame, "camera": {"position": eye, "rotation": view},
                              "meshes": [{"name": mesh["name"], "vertices": camera_space(mesh, frame, eye, view)}
                                         for mesh in meshes]})
    return out


def differences(expected, actual, where="$"):
    """Paths at which actual differs from expected; floats within tolerance."""
    if isinstance(expected, float) or isinstance(actual, float):
        if not isinstance(expected, (int, float)) or not isinstance(actual, (int, float)) \
                or isinstance(expected, bool) or isinstance(actual, bool):
            return ["%s: %r against %r" % (where, actual, expected)]
        close = math.isclose(actual, expected, rel_tol=1e-4, abs_tol=1e-4)
        return [] if close else ["%s: %r against %r" % (where, actual, expected)]
    if isinstance(expected, dict) and isinstance(actual, dict):
        found = []
        if sorted(expected) != sorted(actual):
            found.append("%s: keys %s against %s" % (where, sorted(actual), sorted(expected)))
        for key in expected:
            if key in actual:
                found += differences(expected[key], actual[key], where + "." + key)
        return found
    if isinstance(expected, list) and isinstance(actual, list):
        if len(expected) != len(actual):
            return ["%s: %d entries against %d" % (where, len(actual), len(expected))]
        found = []
        for index, (e, a) in enumerate(zip(expected, actual)):
            found += differences(e, a, "%s[%d]" % (where, index))
        return found
    return [] if expected == actual and type(expected) is type(actual) else \
        ["%s: %r against %r" % (where, actual, expected)]


def frames_of(arguments):
    frames = []
    while arguments:
        if arguments[0] != "--frame" or len(arguments) < 2:
            raise SystemExit("unexpected argument %s" % arguments[0])
        frames.append(int(arguments[1]))
        arguments = arguments[2:]
    return frames


def main(arguments):
    if arguments and arguments[0] == "compare" and len(arguments) >= 3:
        with open(arguments[1], "rb") as scene_file, open(arguments[2]) as inspect_file:
            expected = describe(read_scene(scene_file.read()), frames_of(arguments[3:]))
            actual = json.load(inspect_file)
        found = differences(expected, actual)
        for line in found[:20]:
            print(line)
        return 1 if found else 0
    if not arguments:
        raise SystemExit(__doc__)
    with open(arguments[0], "rb") as scene_file:
        print(json.dumps(describe(read_scene(scene_file.read()), frames_of(arguments[1:]))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
