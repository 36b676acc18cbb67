# A small scene to start from, made with Blender and exported as glTF 2.0:
# a textured box with a ball hanging from it, a turning ring, a pane of
# glass and a camera that circles them while it keeps the box in sight.
#     blender -b --factory-startup --python make_scene.py -- OUT.glb
import math
import os
import sys
import tempfile

import bpy

out = os.path.abspath(sys.argv[sys.argv.index("--") + 1])
bpy.ops.wm.read_factory_settings(use_empty=True)
scene = bpy.context.scene
scene.render.fps = 24
scene.frame_start, scene.frame_end = 1, 73
scene.render.resolution_x, scene.render.resolution_y = 640, 480


def checker(name, size, light, dark):
    image = bpy.data.images.new(name, size, size)
    pixels = []
    for y in range(size):
        for x in range(size):
            colour = light if (x // 8 + y // 8) % 2 == 0 else dark
            # A red mark in the top left corner shows which way up the texture lies.
            if x < 8 and y >= size - 8:
                colour = (1.0, 0.0, 0.0)
            pixels += [*colour, 1.0]
    image.pixels = pixels
    image.filepath_raw = os.path.join(tempfile.mkdtemp(), name + ".png")
    image.file_format = "PNG"
    image.save()
    return image


def material(name, colour, alpha=1.0, image=None):
    made = bpy.data.materials.new(name)
    made.use_nodes = True
    shader = made.node_tree.nodes["Principled BSDF"]
    shader.inputs["Base Color"].default_value = (*colour, 1.0)
    if alpha < 1.0:
        shader.inputs["Alpha"].default_value = alpha
        made.blend_method = "BLEND"
    if image is not None:
        texture = made.node_tree.nodes.new("ShaderNodeTexImage")
        texture.image = image
        made.node_tree.links.new(texture.outputs["Color"], shader.inputs["Base Color"])
    return made


def place(obj, name, colour_material):
    obj.name = name
    obj.data.materials.append(colour_material)
    return obj


bpy.ops.mesh.primitive_cube_add(size=2.0, location=(0.0, 0.0, 1.0))
box = place(bpy.context.object, "box", material("checker", (1, 1, 1), image=checker("checker", 64, (0.9, 0.8, 0.2), (0.1, 0.2, 0.6))))

bpy.ops.mesh.primitive_ico_sphere_add(subdivisions=2, radius=1.0, location=(0.0, 0.0, 3.0))
ball = place(bpy.context.object, "ball", material("green", (0.1, 0.7, 0.2)))
ball.scale = (0.6, 0.6, 0.6)
ball.parent = box

bpy.ops.mesh.primitive_torus_add(major_radius=1.0, minor_radius=0.25, location=(3.0, 0.0, 1.0))
ring = place(bpy.context.object, "ring", material("orange", (0.9, 0.3, 0.05)))
ring.rotation_euler = (0.0, 0.0, 0.0)
ring.keyframe_insert("rotation_euler", frame=1)
ring.keyframe_insert("location", frame=1)
ring.rotation_euler = (math.pi, math.pi / 2, 0.0)
ring.location = (3.0, 0.0, 2.0)
ring.keyframe_insert("rotation_euler", frame=73)
ring.keyframe_insert("location", frame=73)

bpy.ops.mesh.primitive_plane_add(size=3.0, location=(-2.5, 0.5, 1.5), rotation=(math.pi / 2, 0.0, 0.3))
place(bpy.context.object, "glass", material("glass", (0.6, 0.8, 1.0), alpha=0.4))

camera_data = bpy.data.cameras.new("lens")
camera_data.lens_unit = "FOV"
camera_data.angle = math.radians(60.0)
camera = bpy.data.objects.new("camera", camera_data)
scene.collection.objects.link(camera)
scene.camera = camera
track = camera.constraints.new("TRACK_TO")
track.target = box
track.track_axis = "TRACK_NEGATIVE_Z"
track.up_axis = "UP_Y"
for frame, angle in ((1, -60.0), (37, -20.0), (73, 30.0)):
    turn = math.radians(angle)
    camera.location = (10.0 * math.sin(turn), -10.0 * math.cos(turn), 4.0 + frame / 36.0)
    camera.keyframe_insert("location", frame=frame)

# The constraint's turning becomes keys of the camera's own, which glTF carries.
bpy.ops.object.select_all(action="DESELECT")
camera.select_set(True)
bpy.context.view_layer.objects.active = camera
bpy.ops.nla.bake(frame_start=scene.frame_start, frame_end=scene.frame_end, visual_keying=True,
                 clear_constraints=True, bake_types={"OBJECT"})

bpy.ops.export_scene.gltf(filepath=out, export_format="GLB", export_cameras=True, export_animations=True,
                          export_force_sampling=True, export_yup=True)
