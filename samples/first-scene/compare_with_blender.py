# The sample as Blender draws it beside the same frames from kvor: builds the
# scene with make_scene.py, exports and imports it, renders frames with Blender's
# Workbench (flat light, texture colours, no anti-aliasing) from the scene's
# camera and captures them with kvor-capture --scene, then compares each pair.
#     blender -b --factory-startup --python samples/first-scene/compare_with_blender.py -- OUT [FRAME...]
# FRAME counts kvor's scene frames (60 a second from the glTF file's time 0;
# default 0 60 120 180). OUT keeps blender-N.png and kvor-N.png; status 1 when
# an object lands more than 2 pixels away or the silhouettes part.
#
# The engine draws its 4:3 screen with a square view, as wide as the camera's
# frame: Blender renders with pixels a third taller than wide to match, so
# the pictures can be laid over each other. Blended panes differ in colour:
# Blender blends in linear light, the engine in the picture's own colours.
import os
import runpy
import shutil
import subprocess
import sys
import tempfile

import bpy
import numpy

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(os.path.dirname(here))
arguments = sys.argv[sys.argv.index("--") + 1:]
out = os.path.abspath(arguments[0])
frames = [int(frame) for frame in arguments[1:]] or [0, 60, 120, 180]
tools = os.path.join(os.environ.get("KVOR_BUILD", os.path.join(root, "build")), "tools")
os.makedirs(out, exist_ok=True)
work = tempfile.mkdtemp()

# The scene as make_scene.py leaves it, exported as it exports it.
exported = os.path.join(work, "first-scene.glb")
sys.argv = ["blender", "--", exported]
runpy.run_path(os.path.join(here, "make_scene.py"))
subprocess.run([os.path.join(tools, "import", "kvor-import"), exported, "--out", work], check=True,
               stdout=subprocess.DEVNULL)

scene = bpy.context.scene
scene.render.engine = "BLENDER_WORKBENCH"
scene.display.shading.light = "FLAT"
scene.display.shading.color_type = "TEXTURE"
scene.display.render_aa = "OFF"
scene.view_settings.view_transform = "Standard"
scene.render.resolution_percentage = 100
scene.render.pixel_aspect_x, scene.render.pixel_aspect_y = 1.0, 4.0 / 3.0
scene.camera.data.sensor_fit = "HORIZONTAL"
scene.world = bpy.data.worlds.new("black")
scene.world.color = (0.0, 0.0, 0.0)
scene.render.image_settings.file_format = "PNG"
scene.render.image_settings.color_mode = "RGB"
# Workbench draws a material's viewport colour: make it the base colour and alpha.
for material in bpy.data.materials:
    shader = material.node_tree.nodes["Principled BSDF"]
    red, green, blue, _ = shader.inputs["Base Color"].default_value
    material.diffuse_color = (red, green, blue, shader.inputs["Alpha"].default_value)


def pixels(path):
    """RGB bytes, row 0 at the top."""
    image = bpy.data.images.load(path)
    width, height = image.size
    values = numpy.array(image.pixels[:]).reshape(height, width, image.channels)[::-1, :, :3]
    bpy.data.images.remove(image)
    return numpy.rint(values * 255).astype(int)


def srgb(linear):
    return [round(255 * (c * 12.92 if c <= 0.0031308 else 1.055 * c ** (1 / 2.4) - 0.055)) for c in linear]


def centre(picture, colour):
    """The centre of the pixels of an object's flat colour, or None."""
    rows, columns = numpy.nonzero(numpy.abs(picture - colour).sum(axis=2) < 60)
    return (columns.mean(), rows.mean()) if len(rows) else None


flat = {name: srgb(bpy.data.materials[name].diffuse_color[:3]) for name in ("green", "orange")}
failures = []
for frame in frames:
    # Blender's frame f at its rate shows the glTF file's time f / rate.
    time = frame * scene.render.fps / 60.0
    scene.frame_set(int(time), subframe=time - int(time))
    scene.render.filepath = os.path.join(out, "blender-%d.png" % frame)
    bpy.ops.render.render(write_still=True)
    subprocess.run([os.path.join(tools, "capture", "kvor-capture"), "--scene", os.path.join(work, "first-scene.kvs"),
                    "--png", work, "--frames", str(frame)], check=True, stderr=subprocess.DEVNULL, cwd=work)
    os.replace(os.path.join(work, "frame-%06d.png" % frame), os.path.join(out, "kvor-%d.png" % frame))
    blender = pixels(os.path.join(out, "blender-%d.png" % frame))
    kvor = pixels(os.path.join(out, "kvor-%d.png" % frame))
    difference = numpy.abs(blender - kvor)
    drawn_b, drawn_k = blender.sum(axis=2) > 30, kvor.sum(axis=2) > 30
    overlap = (drawn_b & drawn_k).sum() / max(1, (drawn_b | drawn_k).sum())
    line = "frame %d: mean difference %.2f, %.1f %% of pixels off by more than 10 %%, silhouettes overlap %.3f" % (
        frame, difference.mean(), 100 * (difference.max(axis=2) > 25).mean(), overlap)
    if overlap < 0.95:
        failures.append("frame %d: the silhouettes part" % frame)
    for name, colour in flat.items():
        b, k = centre(blender, colour), centre(kvor, colour)
        if b is None or k is None:
            line += "; %s not in %s" % (name, "either" if b is None and k is None else "one of them")
            if (b is None) != (k is None):
                failures.append("frame %d: %s drawn in one picture only" % (frame, name))
            continue
        offset = ((k[0] - b[0]) ** 2 + (k[1] - b[1]) ** 2) ** 0.5
        line += "; %s %.1f px off" % (name, offset)
        if offset > 2:
            failures.append("frame %d: %s %.1f px off" % (frame, name, offset))
    print(line, flush=True)
shutil.rmtree(work)
print("compare_with_blender: pictures in %s; %s" % (out, "; ".join(failures) or "alike"), flush=True)
sys.exit(1 if failures else 0)
