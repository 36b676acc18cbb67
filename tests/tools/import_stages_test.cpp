// kvor-import's stages in the process, on glTF models built here in memory:
// every check the second stage makes, the materials' colours and alpha, names,
// camera choice, mirrored nodes, the length of the scene and a refused write.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "tests/support/test_support.h"
#include "tools/import/accessor_data.h"
#include "tools/import/gltf_check.h"
#include "tools/import/import_error.h"
#include "tools/import/material_convert.h"
#include "tools/import/scene_convert.h"
#include "tools/import/scene_write.h"

using testing::HasSubstr;
using testing_support::ScratchDirectory;

namespace {

// A model of one triangle in front of the origin, in one buffer, with a camera
// node; tests add to it and break it.
class ModelBuilder {
public:
    ModelBuilder() {
        model.asset.version = "2.0";
        model.buffers.emplace_back();
        const int points = floats({0, 0, -3, 1, 0, -3, 0, 1, -3}, TINYGLTF_TYPE_VEC3);
        tinygltf::Primitive triangle;
        triangle.attributes["POSITION"] = points;
        triangle.mode = TINYGLTF_MODE_TRIANGLES;
        model.meshes.push_back({});
        model.meshes[0].primitives.push_back(triangle);
        node("triangle").mesh = 0;
        tinygltf::Camera lens;
        lens.type = "perspective";
        lens.name = "lens";
        lens.perspective.yfov = 0.8;
        model.cameras.push_back(lens);
        node("eye").camera = 0;
        model.scenes.push_back({});
        model.scenes[0].nodes = {0, 1};
        model.defaultScene = 0;
    }

    // A new accessor over a new buffer view of these values.
    template <typename T>
    int accessor(const std::vector<T>& values, int type, int componentType, bool normalized = false) {
        std::vector<unsigned char>& data = model.buffers[0].data;
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = data.size();
        view.byteLength = values.size() * sizeof(T);
        data.resize(data.size() + view.byteLength);
        std::memcpy(data.data() + view.byteOffset, values.data(), view.byteLength);
        while (data.size() % 4) data.push_back(0);
        model.bufferViews.push_back(view);
        tinygltf::Accessor made;
        made.bufferView = static_cast<int>(model.bufferViews.size()) - 1;
        made.componentType = componentType;
        made.type = type;
        made.normalized = normalized;
        made.count = values.size() / static_cast<size_t>(tinygltf::GetNumComponentsInType(static_cast<uint32_t>(type)));
        model.accessors.push_back(made);
        return static_cast<int>(model.accessors.size()) - 1;
    }
    int floats(const std::vector<float>& values, int type) {
        return accessor(values, type, TINYGLTF_COMPONENT_TYPE_FLOAT);
    }

    tinygltf::Node& node(const std::string& name) {
        model.nodes.emplace_back();
        model.nodes.back().name = name;
        return model.nodes.back();
    }

    void animate(int node, const std::string& path, std::vector<float> times, std::vector<float> values,
                 const std::string& interpolation = "LINEAR") {
        if (model.animations.empty()) model.animations.emplace_back();
        tinygltf::AnimationSampler sampler;
        sampler.input = floats(times, TINYGLTF_TYPE_SCALAR);
        sampler.output = floats(values, path == "rotation" ? TINYGLTF_TYPE_VEC4 : TINYGLTF_TYPE_VEC3);
        sampler.interpolation = interpolation;
        model.animations[0].samplers.push_back(sampler);
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(model.animations[0].samplers.size()) - 1;
        channel.target_node = node;
        channel.target_path = path;
        model.animations[0].channels.push_back(channel);
    }

    tinygltf::Model model;
};

gltf_import::ImportedScene convert(const tinygltf::Model& model, std::optional<std::string> camera = {}) {
    gltf_import::ConvertOptions options;
    options.name = "scene";
    options.camera = std::move(camera);
    return gltf_import::convertScene(model, options);
}

// The message checkGltf refuses the model with; empty when it passes.
std::string refusal(const tinygltf::Model& model) {
    try {
        gltf_import::checkGltf(model);
    } catch (const gltf_import::ImportError& error) {
        return error.what();
    }
    return "";
}

struct Breakage {
    const char* name;
    std::function<void(ModelBuilder&)> breakIt;
    const char* message;
};

class CheckedModel : public testing::TestWithParam<Breakage> {};

TEST(CheckedModel, AcceptsTheWholeModel) { EXPECT_EQ(refusal(ModelBuilder().model), ""); }

TEST_P(CheckedModel, IsRefusedWithTheProblemNamed) {
    ModelBuilder builder;
    GetParam().breakIt(builder);
    EXPECT_THAT(refusal(builder.model), HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Breakages, CheckedModel,
    testing::Values(
        Breakage{"version", [](ModelBuilder& b) { b.model.asset.version = "1.1"; }, "not glTF 2.0"},
        Breakage{"viewBuffer", [](ModelBuilder& b) { b.model.bufferViews[0].buffer = 3; }, "names buffer 3"},
        Breakage{"viewLength", [](ModelBuilder& b) { b.model.bufferViews[0].byteLength += 5000; },
                 "buffer view 0 reaches beyond the end of its buffer"},
        Breakage{"viewStride", [](ModelBuilder& b) { b.model.bufferViews[0].byteStride = 2; }, "byte stride of 2"},
        Breakage{"strideBelowElement", [](ModelBuilder& b) { b.model.bufferViews[0].byteStride = 8; },
                 "elements larger than its buffer view's stride"},
        Breakage{"accessorCount", [](ModelBuilder& b) { b.model.accessors[0].count = 4; },
                 "accessor 0 reaches beyond the end of its buffer view"},
        Breakage{"accessorOffset", [](ModelBuilder& b) { b.model.accessors[0].byteOffset = 1u << 31; },
                 "accessor 0 reaches beyond"},
        Breakage{"accessorType", [](ModelBuilder& b) { b.model.accessors[0].componentType = 5130; },
                 "unknown component or element type"},
        Breakage{"sparse", [](ModelBuilder& b) { b.model.accessors[0].sparse.isSparse = true; }, "is sparse"},
        Breakage{"positionType", [](ModelBuilder& b) { b.model.accessors[0].type = TINYGLTF_TYPE_VEC2; },
                 "POSITION uses accessor 0 of the wrong type"},
        Breakage{"indexValue",
                 [](ModelBuilder& b) {
                     b.model.meshes[0].primitives[0].indices = b.accessor(
                         std::vector<uint8_t>{0, 1, 3}, TINYGLTF_TYPE_SCALAR, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE);
                 },
                 "vertex index 3 of 3 vertices"},
        Breakage{"indexType",
                 [](ModelBuilder& b) {
                     b.model.meshes[0].primitives[0].indices = b.floats({0, 1, 2}, TINYGLTF_TYPE_SCALAR);
                 },
                 "indices uses accessor"},
        Breakage{
            "texcoordCount",
            [](ModelBuilder& b) {
                b.model.meshes[0].primitives[0].attributes["TEXCOORD_0"] = b.floats({0, 0, 1, 1}, TINYGLTF_TYPE_VEC2);
            },
            "TEXCOORD_0 has a count unlike POSITION's"},
        Breakage{"mode", [](ModelBuilder& b) { b.model.meshes[0].primitives[0].mode = 7; }, "unknown mode 7"},
        Breakage{"material", [](ModelBuilder& b) { b.model.meshes[0].primitives[0].material = 0; }, "names material 0"},
        Breakage{"nodeMesh", [](ModelBuilder& b) { b.model.nodes[0].mesh = 9; }, "node 0 names mesh 9"},
        Breakage{"twoParents",
                 [](ModelBuilder& b) {
                     b.node("a").children = {0};
                     b.node("b").children = {0};
                 },
                 "node 0 has two parents"},
        Breakage{"cycle",
                 [](ModelBuilder& b) {
                     b.node("a").children = {3};
                     b.node("b").children = {2};
                 },
                 "is its own ancestor"},
        Breakage{"deep",
                 [](ModelBuilder& b) {
                     for (int i = 0; i < 1001; ++i) {
                         const int next = static_cast<int>(b.model.nodes.size()) + 1;
                         b.node("n").children = {next};
                     }
                     b.node("leaf");
                 },
                 "hangs deeper than 1000 nodes"},
        Breakage{"childRoot", [](ModelBuilder& b) { b.model.nodes[1].children = {0}; }, "child node among its roots"},
        Breakage{"notANumber",
                 [](ModelBuilder& b) {
                     b.model.nodes[0].translation = {0, NAN, 0};
                 },
                 "not a number"},
        Breakage{"matrixSize",
                 [](ModelBuilder& b) {
                     b.model.nodes[0].matrix = {1, 0, 0};
                 },
                 "of the wrong size"},
        Breakage{"defaultScene", [](ModelBuilder& b) { b.model.defaultScene = 4; }, "names scene 4"},
        Breakage{"fieldOfView", [](ModelBuilder& b) { b.model.cameras[0].perspective.yfov = 4.0; },
                 "field of view out of range"},
        Breakage{"aspectNegative", [](ModelBuilder& b) { b.model.cameras[0].perspective.aspectRatio = -1.5; },
                 "aspect ratio out of range"},
        Breakage{"aspectStrip", [](ModelBuilder& b) { b.model.cameras[0].perspective.aspectRatio = 1e9; },
                 "aspect ratio out of range"},
        Breakage{"aspectPole", [](ModelBuilder& b) { b.model.cameras[0].perspective.aspectRatio = 1e-9; },
                 "aspect ratio out of range"},
        Breakage{"imageUndecoded", [](ModelBuilder& b) { b.model.images.emplace_back(); },
                 "image 0 could not be decoded"},
        Breakage{"imageHuge",
                 [](ModelBuilder& b) {
                     tinygltf::Image& image = b.model.images.emplace_back();
                     image.width = 20000, image.height = 1, image.component = 4, image.bits = 8;
                     image.image.resize(80000);
                 },
                 "larger than 16384 pixels a side"},
        Breakage{"keyTimes",
                 [](ModelBuilder& b) {
                     b.animate(0, "translation", {0, 2, 1}, std::vector<float>(9));
                 },
                 "key times that are not increasing"},
        Breakage{"keyValues",
                 [](ModelBuilder& b) {
                     b.animate(0, "translation", {0, 1}, std::vector<float>(9));
                 },
                 "has 3 values for 2 keys"},
        Breakage{"cubicValues",
                 [](ModelBuilder& b) {
                     b.animate(0, "translation", {0, 1}, std::vector<float>(6), "CUBICSPLINE");
                 },
                 "has 2 values for 2 keys"},
        Breakage{"interpolation",
                 [](ModelBuilder& b) {
                     b.animate(0, "translation", {0, 1}, std::vector<float>(6), "SMOOTH");
                 },
                 "unknown interpolation \"SMOOTH\""},
        Breakage{"channelNode",
                 [](ModelBuilder& b) {
                     b.animate(0, "translation", {0, 1}, std::vector<float>(6));
                     b.model.animations[0].channels[0].target_node = 12;
                 },
                 "names node 12"}),
    [](const testing::TestParamInfo<Breakage>& info) { return std::string(info.param.name); });

TEST(AccessorData, ReadsNormalizedIntegersAndStridedElementsAndZerosWithoutAView) {
    ModelBuilder builder;
    const int bytes = builder.accessor(std::vector<uint8_t>{0, 255, 51, 0}, TINYGLTF_TYPE_VEC2,
                                       TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE, true);
    EXPECT_EQ(gltf_import::readFloats(builder.model, bytes, 2), (std::vector<float>{0.0f, 1.0f, 0.2f, 0.0f}));
    const int shorts = builder.accessor(std::vector<int16_t>{-32768, 32767, 0, 16384}, TINYGLTF_TYPE_VEC4,
                                        TINYGLTF_COMPONENT_TYPE_SHORT, true);
    const std::vector<float> turned = gltf_import::readFloats(builder.model, shorts, 4);
    EXPECT_EQ(turned[0], -1.0f);  // -32768 clamps to -1
    EXPECT_EQ(turned[1], 1.0f);
    EXPECT_NEAR(turned[3], 16384.0f / 32767.0f, 1e-7f);
    // Two floats of each 12-byte element.
    const int strided = builder.floats({1, 2, 9, 3, 4, 9}, TINYGLTF_TYPE_VEC2);
    builder.model.bufferViews.back().byteStride = 12;
    builder.model.accessors[static_cast<size_t>(strided)].count = 2;
    EXPECT_EQ(gltf_import::readFloats(builder.model, strided, 2), (std::vector<float>{1, 2, 3, 4}));
    builder.model.accessors[static_cast<size_t>(strided)].bufferView = -1;
    EXPECT_EQ(gltf_import::readFloats(builder.model, strided, 2), (std::vector<float>(4, 0.0f)));
}

// One material with this base colour (linear) and alpha mode, converted.
gltf_import::ConvertedMaterials material(std::vector<double> factor, const std::string& alphaMode,
                                         std::optional<std::vector<uint8_t>> texture = {}) {
    ModelBuilder builder;
    tinygltf::Material& made = builder.model.materials.emplace_back();
    made.pbrMetallicRoughness.baseColorFactor = std::move(factor);
    made.alphaMode = alphaMode;
    if (texture) {
        tinygltf::Image& image = builder.model.images.emplace_back();
        image.width = static_cast<int>(texture->size() / 4), image.height = 1, image.component = 4, image.bits = 8;
        image.image = *texture;
        builder.model.textures.emplace_back().source = 0;
        made.pbrMetallicRoughness.baseColorTexture.index = 0;
    }
    gltf_import::ImportReport report;
    return gltf_import::convertMaterials(builder.model, "m", report);
}

// The first pixel of a 32-bit or 24-bit TGA file, as 0xAARRGGBB.
uint32_t firstPixel(const std::vector<uint8_t>& tga) {
    const uint32_t colour = uint32_t{tga.at(20)} << 16 | uint32_t{tga.at(19)} << 8 | tga.at(18);
    return tga.at(16) == 32 ? uint32_t{tga.at(21)} << 24 | colour : colour;
}

TEST(Materials, AColourAloneIsATextureOfItsSrgbValue) {
    // Linear 0.5 is sRGB 0.7354 (188), linear 0.2 is 0.4845 (124): the sRGB curve.
    const auto converted = material({0.5, 0.2, 1.0, 1.0}, "OPAQUE");
    ASSERT_EQ(converted.textures.size(), 2u);  // the material, then glTF's default one
    EXPECT_EQ(converted.textures[0].name, "m-0.tga");
    EXPECT_EQ(converted.textures[0].bytes[16], 24);
    EXPECT_EQ(firstPixel(converted.textures[0].bytes), 0xBC7CFFu);
    EXPECT_EQ(converted.set.materials[0].transparency, 0.0f);
    EXPECT_EQ(converted.set.materials[0].textureNames, std::vector<std::string>{"m-0.tga"});
    EXPECT_EQ(firstPixel(converted.textures[1].bytes), 0xFFFFFFu);
    EXPECT_EQ(converted.defaultMaterial, 1);
}

struct AlphaCase {
    const char* name;
    std::vector<double> factor;
    const char* mode;
    std::vector<uint8_t> texels;  // RGBA
    bool transparent;
    const char* file;
    std::vector<uint8_t> alphas;  // of the TGA written, when transparent
};

class AlphaModes : public testing::TestWithParam<AlphaCase> {};

TEST_P(AlphaModes, DecideHowTheMaterialIsDrawn) {
    const AlphaCase& c = GetParam();
    const auto converted = material(c.factor, c.mode, c.texels);
    EXPECT_EQ(converted.set.materials[0].transparency, c.transparent ? 1.0f : 0.0f);
    EXPECT_EQ(converted.textures[0].name, c.file);
    EXPECT_EQ(converted.doubleSided[0], false);
    if (!c.transparent) return;
    const std::vector<uint8_t>& tga = converted.textures[0].bytes;
    ASSERT_EQ(tga[16], 32);
    std::vector<uint8_t> alphas;
    for (size_t at = 18 + 3; at < tga.size(); at += 4) alphas.push_back(tga[at]);
    EXPECT_EQ(alphas, c.alphas);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AlphaModes,
    testing::Values(
        // Opaque: the map's alpha is ignored; a JPEG.
        AlphaCase{"opaque", {1, 1, 1, 1}, "OPAQUE", {9, 9, 9, 0, 9, 9, 9, 128}, false, "m-0.jpg", {}},
        // A base alpha below 1 blends every texel alike.
        AlphaCase{"opaqueHalf", {1, 1, 1, 0.5}, "OPAQUE", {9, 9, 9, 0, 9, 9, 9, 255}, true, "m-0.tga", {128, 128}},
        // Blend: the map's alpha times the base alpha.
        AlphaCase{"blend", {1, 1, 1, 0.5}, "BLEND", {9, 9, 9, 255, 9, 9, 9, 102}, true, "m-0.tga", {128, 51}},
        // Mask: alpha cut at the cutoff (0.5: 128 stays).
        AlphaCase{"mask", {1, 1, 1, 1}, "MASK", {9, 9, 9, 127, 9, 9, 9, 128}, true, "m-0.tga", {0, 255}},
        // Mask with nothing cut is drawn opaque.
        AlphaCase{"maskWhole", {1, 1, 1, 1}, "MASK", {9, 9, 9, 200, 9, 9, 9, 255}, false, "m-0.jpg", {}}),
    [](const testing::TestParamInfo<AlphaCase>& info) { return std::string(info.param.name); });

TEST(Materials, TwoSidedOpaqueFacesAreDrawnBothWays) {
    ModelBuilder builder;
    builder.model.materials.emplace_back().doubleSided = true;
    builder.model.meshes[0].primitives[0].material = 0;
    const auto scene = convert(builder.model);
    const kvs::Mesh& mesh = scene.file.meshes.at(0);
    ASSERT_EQ(mesh.faces.size(), 2u);
    EXPECT_EQ(mesh.faces[0].a, mesh.faces[1].a);
    EXPECT_EQ(mesh.faces[0].b, mesh.faces[1].c);
    EXPECT_EQ(mesh.faces[0].c, mesh.faces[1].b);
}

TEST(SceneConversion, MirrorsZAndTurnsMirroredNodesFacesBack) {
    ModelBuilder builder;
    builder.node("mirror").mesh = 0;
    builder.model.nodes.back().scale = {-1, 1, 1};
    builder.model.scenes[0].nodes.push_back(2);
    const auto scene = convert(builder.model);
    const kvs::Mesh& plain = scene.file.meshes.at(0);
    const kvs::Mesh& mirror = scene.file.meshes.at(1);
    EXPECT_EQ(plain.vertices[1].x, 1.0f);
    EXPECT_EQ(plain.vertices[1].z, 3.0f);  // glTF's -z ahead is the engine's +z
    EXPECT_EQ(mirror.vertices[1].x, -1.0f);
    EXPECT_EQ(plain.faces[0].b, 1);
    EXPECT_EQ(mirror.faces[0].b, 2);
}

TEST(SceneConversion, NamesFitTheFileAndStayUnique) {
    ModelBuilder builder;
    const std::string longName(120, 'x');
    builder.model.nodes[0].name = longName;
    builder.node("eye");
    builder.node("");
    builder.model.scenes[0].nodes = {0, 1, 2, 3};
    const auto scene = convert(builder.model);
    std::vector<std::string> names;
    for (const kvs::Mesh& mesh : scene.file.meshes) names.push_back(mesh.header.name);
    EXPECT_EQ(names, (std::vector<std::string>{std::string(99, 'x'), "eye.2", "node3"}));
    EXPECT_EQ(scene.file.cameras.at(0).header.name, "eye");
    EXPECT_EQ(scene.file.cameras.at(0).targetHeader.name, "eye.target");
    EXPECT_THAT(scene.report.notes(), testing::Contains("name \"eye\" written as \"eye.2\""));
}

TEST(SceneConversion, ChildrenNameTheirParents) {
    ModelBuilder builder;
    builder.node("holder").children = {0};
    builder.model.scenes[0].nodes = {2, 1};
    const auto scene = convert(builder.model);
    ASSERT_EQ(scene.file.meshes.size(), 2u);
    EXPECT_EQ(scene.file.meshes[0].header.name, "holder");
    EXPECT_EQ(scene.file.meshes[1].header.parentName, std::optional<std::string>("holder"));
}

TEST(SceneConversion, TakesTheCameraNamedByNodeOrCameraAndRefusesOthers) {
    ModelBuilder builder;
    tinygltf::Camera wide = builder.model.cameras[0];
    wide.name = "wide";
    wide.perspective.yfov = 1.2;
    builder.model.cameras.push_back(wide);
    builder.node("second").camera = 1;
    tinygltf::Camera flat;
    flat.type = "orthographic";
    builder.model.cameras.push_back(flat);
    builder.node("flat").camera = 2;
    builder.model.scenes[0].nodes = {0, 1, 2, 3};
    EXPECT_EQ(convert(builder.model).file.cameras.at(0).header.name, "eye");
    EXPECT_EQ(convert(builder.model, "second").file.cameras.at(0).header.name, "second");
    EXPECT_EQ(convert(builder.model, "wide").file.cameras.at(0).header.name, "second");
    EXPECT_THROW(convert(builder.model, "flat"), gltf_import::ImportError);
    EXPECT_THROW(convert(builder.model, "nobody"), gltf_import::ImportError);
    EXPECT_THAT(convert(builder.model).report.notes(),
                testing::Contains("camera of node \"second\": not the active camera, left out"));
}

TEST(SceneConversion, SaysHowAFrameOfAnotherShapeFillsThePicture) {
    const auto notes = [](double aspect) {
        ModelBuilder builder;
        builder.model.cameras[0].perspective.aspectRatio = aspect;
        return convert(builder.model).report.notes();
    };
    EXPECT_THAT(notes(16.0 / 9.0),
                testing::Contains("camera of node \"eye\": its 1.77:1 frame spans the width of the engine's 4:3 "
                                  "picture, which shows more above and below"));
    EXPECT_THAT(notes(0.75), testing::Contains("camera of node \"eye\": its 0.75:1 frame spans the height of the "
                                               "engine's 4:3 picture, which shows more at the sides"));
    EXPECT_THAT(notes(4.0 / 3.0), testing::Not(testing::Contains(HasSubstr("frame spans"))));
    EXPECT_THAT(notes(0), testing::Not(testing::Contains(HasSubstr("frame spans"))));
}

TEST(SceneConversion, LastsToTheLastKeyAtSixtyFramesASecond) {
    ModelBuilder still;
    EXPECT_EQ(convert(still.model).file.lastFrame, 0);
    for (const auto& [last, frame] : std::vector<std::pair<float, int>>{{1.0f, 60}, {1.001f, 61}, {0.5f, 30}}) {
        ModelBuilder builder;
        builder.animate(0, "translation", {0.25f, last}, {0, 0, 0, 1, 2, 3});
        const auto scene = convert(builder.model);
        EXPECT_EQ(scene.file.lastFrame, frame) << last;
        // Every frame is a key: before the first key the first value holds.
        const kvs::TrackEntry& track = scene.file.meshes.at(0).animation.tracks.at(0);
        ASSERT_EQ(track.positions.size(), static_cast<size_t>(frame + 1));
        EXPECT_EQ(track.positions.front().value.x, 0.0f);
        EXPECT_EQ(track.positions.back().value.z, -3.0f);
        EXPECT_EQ(track.positions.back().time, frame * scene.file.frameStep);
        EXPECT_TRUE(track.rotations.empty());
    }
}

TEST(SceneConversion, RefusesMoreFramesThanItStores) {
    ModelBuilder builder;
    builder.animate(0, "translation", {0, 3700}, std::vector<float>(6));
    EXPECT_THROW(convert(builder.model), gltf_import::ImportError);
    // Past any integer: said as it is.
    ModelBuilder endless;
    endless.animate(0, "translation", {0, 1.9e38f}, std::vector<float>(6));
    try {
        convert(endless.model);
        ADD_FAILURE() << "not refused";
    } catch (const gltf_import::ImportError& error) {
        EXPECT_STREQ(error.what(), "the animation lasts 1.9e+38 s, longer than an hour");
    }
}

TEST(SceneWrite, LeavesNothingWhenTheFolderCannotBeMade) {
    ScratchDirectory scratch;
    testing_support::writeFile(scratch / "taken", std::string("a file, not a folder"));
    ModelBuilder builder;
    const auto scene = convert(builder.model);
    EXPECT_THROW(gltf_import::writeImport(scene, scratch / "taken" / "datas", "scene"), gltf_import::ImportError);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1);
    gltf_import::writeImport(scene, scratch / "datas", "scene");
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(scratch / "datas"))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"scene-0.tga", "scene.kvs"}));
}

}  // namespace
