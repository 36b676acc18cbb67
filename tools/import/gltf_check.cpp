#include "tools/import/gltf_check.h"

#include <cmath>
#include <set>
#include <string>

#include "tools/import/accessor_data.h"
#include "tools/import/import_error.h"

namespace gltf_import {

namespace {

// The engine's texture loader refuses larger images.
constexpr int largestImageSide = 16384;
// Far beyond any scene made by hand, and a bound on the work of placing a node.
constexpr int deepestNode = 1000;
// A camera's frame, width over height, beyond any real lens's either way.
constexpr double maximumAspectRatio = 100.0;

[[noreturn]] void fail(const std::string& message) { throw ImportError(message); }

std::string named(const char* what, size_t index) { return std::string(what) + " " + std::to_string(index); }

void checkIndex(int index, size_t count, const std::string& owner, const char* what) {
    if (index < 0 || static_cast<size_t>(index) >= count)
        fail(owner + " names " + what + " " + std::to_string(index) + ", which does not exist");
}

void checkOptionalIndex(int index, size_t count, const std::string& owner, const char* what) {
    if (index != -1) checkIndex(index, count, owner, what);
}

bool finite(const std::vector<double>& values) {
    for (double value : values)
        if (!std::isfinite(value)) return false;
    return true;
}

void checkVersion(const tinygltf::Model& model) {
    if (!model.asset.version.starts_with("2.")) fail("not glTF 2.0 (asset version \"" + model.asset.version + "\")");
}

void checkBufferViews(const tinygltf::Model& model) {
    for (size_t i = 0; i < model.bufferViews.size(); ++i) {
        const tinygltf::BufferView& view = model.bufferViews[i];
        const std::string owner = named("buffer view", i);
        checkIndex(view.buffer, model.buffers.size(), owner, "buffer");
        const size_t size = model.buffers[static_cast<size_t>(view.buffer)].data.size();
        if (view.byteOffset > size || view.byteLength > size - view.byteOffset)
            fail(owner + " reaches beyond the end of its buffer");
        if (view.byteStride != 0 && (view.byteStride < 4 || view.byteStride > 252))
            fail(owner + " has a byte stride of " + std::to_string(view.byteStride));
    }
}

void checkAccessor(const tinygltf::Model& model, size_t index) {
    const tinygltf::Accessor& accessor = model.accessors[index];
    const std::string owner = named("accessor", index);
    if (elementSize(accessor) == 0) fail(owner + " has an unknown component or element type");
    if (accessor.sparse.isSparse) fail(owner + " is sparse, which is not supported");
    if (accessor.bufferView == -1) return;  // all zeros
    checkIndex(accessor.bufferView, model.bufferViews.size(), owner, "buffer view");
    if (accessor.count == 0) return;
    const tinygltf::BufferView& view = model.bufferViews[static_cast<size_t>(accessor.bufferView)];
    const size_t element = elementSize(accessor);
    const size_t stride = view.byteStride != 0 ? view.byteStride : element;
    if (stride < element) fail(owner + " has elements larger than its buffer view's stride");
    const size_t count = accessor.count;
    if (accessor.byteOffset > view.byteLength || (count - 1) > (view.byteLength - accessor.byteOffset) / stride ||
        (count - 1) * stride + element > view.byteLength - accessor.byteOffset)
        fail(owner + " reaches beyond the end of its buffer view");
}

void checkAccessorShape(const tinygltf::Model& model, int index, const std::string& owner, std::set<int> componentTypes,
                        int type) {
    const tinygltf::Accessor& accessor = model.accessors[static_cast<size_t>(index)];
    if (accessor.type != type || !componentTypes.contains(accessor.componentType))
        fail(owner + " uses accessor " + std::to_string(index) + " of the wrong type");
}

void checkPrimitive(const tinygltf::Model& model, const tinygltf::Primitive& primitive, const std::string& owner) {
    for (const auto& [name, accessor] : primitive.attributes)
        checkIndex(accessor, model.accessors.size(), owner + " attribute " + name, "accessor");
    checkOptionalIndex(primitive.indices, model.accessors.size(), owner, "accessor");
    checkOptionalIndex(primitive.material, model.materials.size(), owner, "material");
    if (primitive.mode < 0 || primitive.mode > 6)
        fail(owner + " has an unknown mode " + std::to_string(primitive.mode));
    const auto position = primitive.attributes.find("POSITION");
    if (position == primitive.attributes.end()) return;
    checkAccessorShape(model, position->second, owner + " POSITION", {TINYGLTF_COMPONENT_TYPE_FLOAT},
                       TINYGLTF_TYPE_VEC3);
    const auto texcoord = primitive.attributes.find("TEXCOORD_0");
    if (texcoord != primitive.attributes.end())
        checkAccessorShape(model, texcoord->second, owner + " TEXCOORD_0",
                           {TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE,
                            TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT},
                           TINYGLTF_TYPE_VEC2);
    const size_t vertexCount = model.accessors[static_cast<size_t>(position->second)].count;
    for (const auto& [name, accessor] : primitive.attributes)
        if (model.accessors[static_cast<size_t>(accessor)].count != vertexCount)
            fail(owner + " attribute " + name + " has a count unlike POSITION's");
    if (primitive.indices == -1) return;
    checkAccessorShape(model, primitive.indices, owner + " indices",
                       {TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT,
                        TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT},
                       TINYGLTF_TYPE_SCALAR);
    for (uint32_t vertex : readIndices(model, primitive.indices))
        if (vertex >= vertexCount)
            fail(owner + " has the vertex index " + std::to_string(vertex) + " of " + std::to_string(vertexCount) +
                 " vertices");
}

void checkMeshes(const tinygltf::Model& model) {
    for (size_t i = 0; i < model.meshes.size(); ++i)
        for (size_t p = 0; p < model.meshes[i].primitives.size(); ++p)
            checkPrimitive(model, model.meshes[i].primitives[p], named("mesh", i) + " primitive " + std::to_string(p));
}

void checkNodes(const tinygltf::Model& model) {
    std::vector<int> parent(model.nodes.size(), -1);
    for (size_t i = 0; i < model.nodes.size(); ++i) {
        const tinygltf::Node& node = model.nodes[i];
        const std::string owner = named("node", i);
        checkOptionalIndex(node.mesh, model.meshes.size(), owner, "mesh");
        checkOptionalIndex(node.camera, model.cameras.size(), owner, "camera");
        checkOptionalIndex(node.skin, model.skins.size(), owner, "skin");
        for (int child : node.children) {
            checkIndex(child, model.nodes.size(), owner, "node");
            if (parent[static_cast<size_t>(child)] != -1)
                fail(named("node", static_cast<size_t>(child)) + " has two parents");
            parent[static_cast<size_t>(child)] = static_cast<int>(i);
        }
        if (!finite(node.translation) || !finite(node.rotation) || !finite(node.scale) || !finite(node.matrix))
            fail(owner + " has a transform that is not a number");
        if ((!node.translation.empty() && node.translation.size() != 3) ||
            (!node.rotation.empty() && node.rotation.size() != 4) || (!node.scale.empty() && node.scale.size() != 3) ||
            (!node.matrix.empty() && node.matrix.size() != 16))
            fail(owner + " has a transform of the wrong size");
    }
    // Each node's depth, from its parent's: a walk up stops at the first node
    // whose depth is known, so every node is walked once, and a walk that
    // comes back to itself is a cycle.
    constexpr int unknown = -1, walking = -2;
    std::vector<int> depth(model.nodes.size(), unknown);
    for (size_t i = 0; i < model.nodes.size(); ++i) {
        std::vector<size_t> path;
        size_t at = i;
        while (depth[at] == unknown) {
            depth[at] = walking;
            path.push_back(at);
            if (parent[at] == -1) break;
            at = static_cast<size_t>(parent[at]);
        }
        if (depth[at] == walking && parent[at] != -1) fail(named("node", at) + " is its own ancestor");
        int below = depth[at] == walking ? -1 : depth[at];
        for (auto step = path.rbegin(); step != path.rend(); ++step) {
            depth[*step] = ++below;
            if (below > deepestNode)
                fail(named("node", *step) + " hangs deeper than " + std::to_string(deepestNode) + " nodes");
        }
    }
    for (size_t s = 0; s < model.scenes.size(); ++s)
        for (int root : model.scenes[s].nodes) {
            checkIndex(root, model.nodes.size(), named("scene", s), "node");
            if (parent[static_cast<size_t>(root)] != -1) fail(named("scene", s) + " has a child node among its roots");
        }
    checkOptionalIndex(model.defaultScene, model.scenes.size(), "the file", "scene");
}

void checkMaterials(const tinygltf::Model& model) {
    for (size_t i = 0; i < model.materials.size(); ++i) {
        const tinygltf::Material& material = model.materials[i];
        const std::string owner = named("material", i);
        checkOptionalIndex(material.pbrMetallicRoughness.baseColorTexture.index, model.textures.size(), owner,
                           "texture");
        const std::vector<double>& factor = material.pbrMetallicRoughness.baseColorFactor;
        if (factor.size() != 4 || !finite(factor)) fail(owner + " has a base colour that is not four numbers");
    }
    for (size_t i = 0; i < model.textures.size(); ++i) {
        checkOptionalIndex(model.textures[i].source, model.images.size(), named("texture", i), "image");
        checkOptionalIndex(model.textures[i].sampler, model.samplers.size(), named("texture", i), "sampler");
    }
    for (size_t i = 0; i < model.images.size(); ++i) {
        const tinygltf::Image& image = model.images[i];
        const std::string owner = named("image", i);
        if (image.width <= 0 || image.height <= 0 || image.image.empty()) fail(owner + " could not be decoded");
        if (image.width > largestImageSide || image.height > largestImageSide)
            fail(owner + " is larger than " + std::to_string(largestImageSide) + " pixels a side");
        if (image.bits != 8 || image.component < 1 || image.component > 4 ||
            image.image.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                                      static_cast<size_t>(image.component))
            fail(owner + " has pixels of a kind that is not supported");
    }
}

void checkCameras(const tinygltf::Model& model) {
    for (size_t i = 0; i < model.cameras.size(); ++i) {
        const tinygltf::Camera& camera = model.cameras[i];
        if (camera.type != "perspective") continue;
        const double fov = camera.perspective.yfov;
        if (!std::isfinite(fov) || fov <= 0 || fov >= M_PI)
            fail(named("camera", i) + " has a field of view out of range");
        // 0 is tinygltf's word for no aspect ratio given.
        const double aspect = camera.perspective.aspectRatio;
        if (!std::isfinite(aspect) || aspect < 0 || (aspect > 0 && aspect < 1 / maximumAspectRatio) ||
            aspect > maximumAspectRatio)
            fail(named("camera", i) + " has an aspect ratio out of range");
    }
}

void checkAnimationSampler(const tinygltf::Model& model, const tinygltf::AnimationSampler& sampler,
                           const std::string& owner) {
    checkIndex(sampler.input, model.accessors.size(), owner, "accessor");
    checkIndex(sampler.output, model.accessors.size(), owner, "accessor");
    checkAccessorShape(model, sampler.input, owner + " input", {TINYGLTF_COMPONENT_TYPE_FLOAT}, TINYGLTF_TYPE_SCALAR);
    if (sampler.interpolation != "LINEAR" && sampler.interpolation != "STEP" && sampler.interpolation != "CUBICSPLINE")
        fail(owner + " has the unknown interpolation \"" + sampler.interpolation + "\"");
    const std::vector<float> times = readFloats(model, sampler.input, 1);
    if (times.empty()) fail(owner + " has no keys");
    for (size_t k = 0; k < times.size(); ++k)
        if (!std::isfinite(times[k]) || (k > 0 && times[k] < times[k - 1]))
            fail(owner + " has key times that are not increasing numbers");
}

void checkAnimations(const tinygltf::Model& model) {
    for (size_t a = 0; a < model.animations.size(); ++a) {
        const tinygltf::Animation& animation = model.animations[a];
        for (size_t s = 0; s < animation.samplers.size(); ++s)
            checkAnimationSampler(model, animation.samplers[s],
                                  named("animation", a) + " sampler " + std::to_string(s));
        for (size_t c = 0; c < animation.channels.size(); ++c) {
            const tinygltf::AnimationChannel& channel = animation.channels[c];
            const std::string owner = named("animation", a) + " channel " + std::to_string(c);
            checkIndex(channel.sampler, animation.samplers.size(), owner, "sampler");
            checkOptionalIndex(channel.target_node, model.nodes.size(), owner, "node");
            const tinygltf::AnimationSampler& sampler = animation.samplers[static_cast<size_t>(channel.sampler)];
            const bool translation = channel.target_path == "translation", rotation = channel.target_path == "rotation";
            if (!translation && !rotation) continue;
            if (translation)
                checkAccessorShape(model, sampler.output, owner + " output", {TINYGLTF_COMPONENT_TYPE_FLOAT},
                                   TINYGLTF_TYPE_VEC3);
            else
                checkAccessorShape(
                    model, sampler.output, owner + " output",
                    {TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_COMPONENT_TYPE_BYTE, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE,
                     TINYGLTF_COMPONENT_TYPE_SHORT, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT},
                    TINYGLTF_TYPE_VEC4);
            const size_t keys = model.accessors[static_cast<size_t>(sampler.input)].count;
            const size_t perKey = sampler.interpolation == "CUBICSPLINE" ? 3 : 1;
            if (model.accessors[static_cast<size_t>(sampler.output)].count != keys * perKey)
                fail(owner + " has " + std::to_string(model.accessors[static_cast<size_t>(sampler.output)].count) +
                     " values for " + std::to_string(keys) + " keys");
            for (float value : readFloats(model, sampler.output, translation ? 3 : 4))
                if (!std::isfinite(value)) fail(owner + " has values that are not numbers");
        }
    }
}

}  // namespace

size_t elementSize(const tinygltf::Accessor& accessor) {
    const int component = tinygltf::GetComponentSizeInBytes(static_cast<uint32_t>(accessor.componentType));
    const int components = tinygltf::GetNumComponentsInType(static_cast<uint32_t>(accessor.type));
    if (component <= 0 || components <= 0 || accessor.componentType == TINYGLTF_COMPONENT_TYPE_DOUBLE) return 0;
    return static_cast<size_t>(component) * static_cast<size_t>(components);
}

void checkGltf(const tinygltf::Model& model) {
    checkVersion(model);
    checkBufferViews(model);
    for (size_t i = 0; i < model.accessors.size(); ++i) checkAccessor(model, i);
    checkMeshes(model);
    checkNodes(model);
    checkMaterials(model);
    checkCameras(model);
    checkAnimations(model);
}

}  // namespace gltf_import
