#include "tools/import/scene_convert.h"

#include <cctype>
#include <map>
#include <set>

#include "tools/import/camera_convert.h"
#include "tools/import/import_error.h"
#include "tools/import/mesh_convert.h"
#include "tools/import/node_motion.h"

namespace gltf_import {

namespace {

// Key-time units per frame, as the demo's own scenes have them.
constexpr int32_t frameStep = 160;
// Every moving object stores a value per frame: a bound on the file's size
// and on the memory the engine spends on it.
constexpr size_t mostTrackEntries = 50'000'000;

// At most longestName bytes, not cutting a UTF-8 character in two.
std::string shortened(const std::string& name, size_t room) {
    if (name.size() <= room) return name;
    size_t end = room;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return name.substr(0, end);
}

// Names unique among the scene's objects and short enough for the file.
class NameBook {
public:
    explicit NameBook(ImportReport& report) : report(report) {}

    std::string take(const std::string& wanted) {
        std::string name = shortened(wanted, longestName);
        for (int number = 2; taken.contains(name); ++number) {
            const std::string suffix = "." + std::to_string(number);
            name = shortened(wanted, longestName - suffix.size()) + suffix;
        }
        taken.insert(name);
        if (name != wanted) report.note("name \"" + wanted + "\" written as \"" + name + "\"");
        return name;
    }

private:
    ImportReport& report;
    std::set<std::string> taken;
};

// The nodes of the scene shown, parents before their children.
std::vector<int> sceneNodes(const tinygltf::Model& model, ImportReport& report) {
    std::vector<int> roots;
    if (model.scenes.empty()) {
        std::vector<bool> child(model.nodes.size(), false);
        for (const tinygltf::Node& node : model.nodes)
            for (int c : node.children) child[static_cast<size_t>(c)] = true;
        for (size_t i = 0; i < model.nodes.size(); ++i)
            if (!child[i]) roots.push_back(static_cast<int>(i));
    } else {
        const size_t shown = model.defaultScene >= 0 ? static_cast<size_t>(model.defaultScene) : 0;
        roots = model.scenes[shown].nodes;
        if (model.scenes.size() > 1)
            report.note("scenes other than scene " + std::to_string(shown) + " not carried over");
    }
    std::vector<int> order;
    std::vector<int> stack(roots.rbegin(), roots.rend());
    while (!stack.empty()) {
        const int node = stack.back();
        stack.pop_back();
        order.push_back(node);
        const std::vector<int>& children = model.nodes[static_cast<size_t>(node)].children;
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return order;
}

std::string nodeName(const tinygltf::Model& model, int node) {
    const std::string& name = model.nodes[static_cast<size_t>(node)].name;
    return name.empty() ? "node" + std::to_string(node) : name;
}

// The node whose camera the scene is seen through, or -1.
int activeCamera(const tinygltf::Model& model, const std::vector<int>& nodes, const ConvertOptions& options,
                 ImportReport& report) {
    int chosen = -1;
    for (int node : nodes) {
        const int camera = model.nodes[static_cast<size_t>(node)].camera;
        if (camera < 0) continue;
        const tinygltf::Camera& source = model.cameras[static_cast<size_t>(camera)];
        const bool named = options.camera && (*options.camera == model.nodes[static_cast<size_t>(node)].name ||
                                              *options.camera == source.name);
        if (source.type != "perspective") {
            if (named) throw ImportError("camera \"" + *options.camera + "\" is not a perspective camera");
            report.note("camera of node \"" + nodeName(model, node) + "\": orthographic, not carried over");
            continue;
        }
        if (options.camera ? named && chosen < 0 : chosen < 0) chosen = node;
    }
    if (options.camera && chosen < 0) throw ImportError("no camera named \"" + *options.camera + "\"");
    if (chosen < 0) {
        report.note("no camera: the engine's default one, at the origin looking along -z with a 90 degree view");
        return -1;
    }
    const double aspect =
        model.cameras[static_cast<size_t>(model.nodes[static_cast<size_t>(chosen)].camera)].perspective.aspectRatio;
    if (aspect > 0 && std::abs(aspect - 4.0 / 3.0) > 0.01)
        report.note("camera of node \"" + nodeName(model, chosen) + "\": its " + std::to_string(aspect).substr(0, 4) +
                    ":1 frame spans the " + (aspect >= 1 ? "width" : "height") +
                    " of the engine's 4:3 picture, which shows more " +
                    (aspect >= 1 ? "above and below" : "at the sides"));
    for (int node : nodes)
        if (node != chosen && model.nodes[static_cast<size_t>(node)].camera >= 0 &&
            model.cameras[static_cast<size_t>(model.nodes[static_cast<size_t>(node)].camera)].type == "perspective")
            report.note("camera of node \"" + nodeName(model, node) + "\": not the active camera, left out");
    return chosen;
}

// The mesh's motion relative to frame 0, when it moves: its base vertices are
// placed as at frame 0, which is where its pivot rests.
kvs::Animation meshAnimation(const NodeMotion& motion, int node, int frameCount) {
    const Quat rest = motion.worldRotation(node, 0);
    std::vector<kvs::PositionKey> positions;
    std::vector<kvs::RotationKey> rotations;
    bool turns = false;
    for (int frame = 0; frame < frameCount; ++frame) {
        const int32_t time = frame * frameStep;
        positions.push_back({time, toVector3(toEngine(motion.world(node, frame).translation()))});
        const Quat turn = toEngine(normalized(motion.worldRotation(node, frame) * conjugate(rest)));
        turns = turns || std::abs(turn.w) < 1 - 1e-12;
        rotations.push_back({time,
                             {static_cast<float>(turn.x), static_cast<float>(turn.y), static_cast<float>(turn.z),
                              static_cast<float>(turn.w)}});
    }
    if (!turns) rotations.clear();
    return kvs::Animation::sampledTracks(std::move(positions), std::move(rotations));
}

std::string texturePrefix(const std::string& name) {
    std::string prefix;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        prefix += std::isalnum(u) || c == '_' || c == '-' ? static_cast<char>(std::tolower(u)) : '_';
    }
    return shortened(prefix.empty() ? "scene" : prefix, 64);
}

void reportLights(const tinygltf::Model& model, ImportReport& report) {
    if (!model.lights.empty())
        report.note(std::to_string(model.lights.size()) +
                    " KHR_lights_punctual light(s) not carried over, the engine lights with its ambient colour only");
}

}  // namespace

ImportedScene convertScene(const tinygltf::Model& model, const ConvertOptions& options) {
    ImportedScene imported;
    ImportReport& report = imported.report;
    reportLights(model, report);
    const std::vector<int> nodes = sceneNodes(model, report);
    const NodeMotion motion(model, report);
    const int frameCount = motion.lastFrame() + 1;
    size_t moving = 1;
    for (int node : nodes) moving += motion.animated(node) ? 1 : 0;
    if (moving * static_cast<size_t>(frameCount) > mostTrackEntries)
        throw ImportError(std::to_string(moving) + " moving objects over " + std::to_string(frameCount) +
                          " frames are more than a scene can hold");
    ConvertedMaterials materials = convertMaterials(model, texturePrefix(options.name), report);
    const int cameraNode = activeCamera(model, nodes, options, report);

    kvs::SceneFile& file = imported.file;
    file.version = 2;
    file.name = shortened(options.name, longestName);
    file.firstFrame = 0;
    file.lastFrame = frameCount - 1;
    file.frameStep = frameStep;
    file.environment = {0x02, "", {}, options.ambient};
    file.fog = options.fog;
    file.materialSets = {std::move(materials.set)};

    NameBook names(report);
    std::map<int, std::string> objectNames;
    for (int node : nodes) {
        const tinygltf::Node& source = model.nodes[static_cast<size_t>(node)];
        const int up = motion.parent(node);
        const std::optional<std::string> parentName =
            up >= 0 ? std::optional<std::string>(objectNames.at(up)) : std::nullopt;
        if (node == cameraNode && source.mesh < 0) {
            objectNames[node] = names.take(nodeName(model, node));
            file.cameras.push_back(convertCamera(model, node, motion, frameCount, objectNames[node],
                                                 names.take(nodeName(model, node) + ".target"), frameStep));
            continue;
        }
        kvs::Mesh mesh;
        mesh.header.name = objectNames[node] = names.take(nodeName(model, node));
        mesh.header.parentName = parentName;
        const Vec3 pivot = toEngine(motion.world(node, 0).translation());
        mesh.header.position = mesh.header.restPosition = toVector3(pivot);
        if (source.mesh >= 0) convertGeometry(model, source.mesh, motion.world(node, 0), materials, mesh, report);
        mesh.textured = !mesh.faces.empty();
        if (motion.animated(node)) mesh.animation = meshAnimation(motion, node, frameCount);
        file.meshes.push_back(std::move(mesh));
        if (node == cameraNode)
            file.cameras.push_back(convertCamera(model, node, motion, frameCount, names.take(nodeName(model, node)),
                                                 names.take(nodeName(model, node) + ".target"), frameStep));
    }
    imported.textures = std::move(materials.textures);
    return imported;
}

}  // namespace gltf_import
