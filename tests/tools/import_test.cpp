// kvor-import as a content maker runs it: glTF files from Blender and written
// by hand, imported, loaded by the engine (kvor-inspect) and compared with an
// independent projection of the glTF file itself (tests/tools/gltf_reference.py);
// broken files refused with nothing written; and the conversion's pieces
// against values worked out by hand.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <set>

#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"
#include "tools/import/camera_convert.h"
#include "tools/import/import_options.h"
#include "tools/import/mesh_convert.h"
#include "tools/import/node_motion.h"

using testing::HasSubstr;
using testing::Not;
using testing_support::CommandRun;
using testing_support::quoted;
using testing_support::readFile;
using testing_support::runIn;
using testing_support::ScratchDirectory;

namespace {

const std::filesystem::path fixtures = GLTF_FIXTURES;
const std::filesystem::path firstScene = FIRST_SCENE;

CommandRun import(const std::filesystem::path& directory, const std::filesystem::path& input,
                  const std::string& options = "") {
    return runIn(directory, std::string(KVOR_IMPORT) + " " + quoted(input.string()) + " " + options);
}

// The files of a folder and their bytes.
std::map<std::string, std::string> contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

struct RoundTrip {
    std::filesystem::path file;
    std::vector<int> frames;
};

class ImportedScene : public testing::TestWithParam<RoundTrip> {};

// Every vertex compared lands within 2 pixels of where the glTF file puts it.
TEST_P(ImportedScene, IsDrawnWhereTheGltfFilePutsIt) {
    ScratchDirectory scratch;
    const RoundTrip& trip = GetParam();
    const CommandRun imported = import(scratch.path(), trip.file, "--out out --name scene");
    ASSERT_EQ(imported.status, 0) << imported.errors;
    std::string frames;
    for (int frame : trip.frames) frames += " --frame " + std::to_string(frame);
    const CommandRun inspected =
        runIn(scratch / "out", std::string(KVOR_INSPECT) + " scene scene.kvs" + frames + " > ../frames.json");
    ASSERT_EQ(inspected.status, 0) << inspected.errors;
    const CommandRun compared = runIn(scratch.path(), std::string(PYTHON) + " " + GLTF_REFERENCE + " " +
                                                          quoted(trip.file.string()) + " out/scene.kvs frames.json");
    ASSERT_EQ(compared.status, 0) << compared.errors;
    EXPECT_LT(std::stod(compared.output), 2.0) << compared.output;
    // One line per mesh and frame besides the largest distance.
    EXPECT_GE(std::count(compared.output.begin(), compared.output.end(), '\n'),
              1 + static_cast<long>(trip.frames.size()));
}

std::string stem(const std::filesystem::path& file) {
    std::string name = file.stem().string();
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ImportedScene,
    testing::Values(RoundTrip{firstScene, {0, 1, 59, 100, 183}},  // Blender: hierarchy, camera baked from a constraint
                    RoundTrip{fixtures / "strips.gltf", {0}},     // strips, fans, 8-bit indices, rolled still camera
                    RoundTrip{fixtures / "samplers.gltf",
                              {0, 7, 30, 31, 42, 61, 84, 97}},    // STEP, CUBICSPLINE, turning camera
                    RoundTrip{fixtures / "wide.gltf", {0}},       // a 16:9 frame, held whole
                    RoundTrip{fixtures / "upright.gltf", {0}},    // a 3:4 frame, held whole
                    RoundTrip{fixtures / "external.gltf", {0}}),  // no camera: the engine's default one
    [](const testing::TestParamInfo<RoundTrip>& info) { return stem(info.param.file); });

TEST(Import, SaysWhatItMadeAndWhatItLeftOut) {
    ScratchDirectory scratch;
    const CommandRun run = import(scratch.path(), firstScene);
    ASSERT_EQ(run.status, 0) << run.errors;
    // Blender's last key is its frame 73 at 24 fps: 3.042 s, frame 182.5 at 60 fps.
    EXPECT_THAT(run.output, HasSubstr("datas/first-scene.kvs: 4 objects, 1 camera, "));
    EXPECT_THAT(run.output, HasSubstr(" 184 frames (0 to 3.050 s at 60 fps), 5 textures"));
    // The camera's scale is sampled too, but never changes: nothing is lost.
    EXPECT_THAT(run.output, Not(HasSubstr("note:")));
    EXPECT_TRUE(std::filesystem::exists(scratch / "datas/first-scene.kvs"));
    EXPECT_TRUE(std::filesystem::exists(scratch / "datas/first-scene-1.jpg"));  // the checker map
    // Nothing is left of the temporary folder.
    EXPECT_EQ(contents(scratch / "datas").size(), 6u);

    const CommandRun alone = import(scratch.path(), fixtures / "external.gltf", "--out .");
    EXPECT_THAT(alone.output, HasSubstr("note: no camera: the engine's default one"));

    const CommandRun odd = import(scratch.path(), fixtures / "samplers.gltf", "--out .");
    EXPECT_THAT(odd.output, HasSubstr("note: 1 KHR_lights_punctual light(s) not carried over"));
    EXPECT_THAT(odd.output, HasSubstr("note: node \"stepper\": scale animation not carried over, left at rest"));
    EXPECT_THAT(odd.output, HasSubstr("note: material \"glow\": emission not carried over"));
}

// The scene file's bytes of a TGA header: depth at offset 16.
int tgaDepth(const std::string& bytes) { return static_cast<unsigned char>(bytes.at(16)); }

TEST(Import, BlendedMapsKeepTheirAlphaAndColoursAloneBecomeExactTextures) {
    ScratchDirectory scratch;
    ASSERT_EQ(import(scratch.path(), fixtures / "external.gltf", "--out .").status, 0);
    // The blended map: 32 bits, the file's alpha (100 on the right half of each row).
    const std::string blended = readFile(scratch / "external-0.tga");
    EXPECT_EQ(tgaDepth(blended), 32);
    std::set<int> alphas;
    for (size_t at = 18 + 3; at < blended.size(); at += 4) alphas.insert(static_cast<unsigned char>(blended[at]));
    EXPECT_EQ(alphas, (std::set<int>{100, 255}));
    // The red colour alone: 24 bits, every pixel blue 0, green 0, red 255.
    const std::string red = readFile(scratch / "external-1.tga");
    EXPECT_EQ(tgaDepth(red), 24);
    EXPECT_EQ(red.substr(18, 6), std::string("\0\0\xff\0\0\xff", 6));
    // The engine takes the blended material as transparent, keeping the texture's alpha.
    const CommandRun inspected = runIn(scratch.path(), std::string(KVOR_INSPECT) + " scene external.kvs");
    EXPECT_THAT(inspected.output, HasSubstr("\"opacity\":0,\"flags\":0,\"texture\":\"external-0.tga\""));
    EXPECT_THAT(inspected.output, HasSubstr("\"opacity\":1,\"flags\":0,\"texture\":\"external-1.tga\""));
}

struct Rgb {
    int r, g, b;
};

// The pixel at (x, y) of an RGB PNG file.
Rgb pixelAt(const std::filesystem::path& file, int x, int y) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return {-1, -1, -1};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {-1, -1, -1};
    const size_t at = (static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 3;
    return {pixels[at], pixels[at + 1], pixels[at + 2]};
}

// external.gltf drawn by the engine through its default camera (90 degrees,
// looking along -z): the blended panel spans x 192 to 320, y 192 to 288, its
// 8 x 8 map 16 x 12 pixels a texel; the red square is centred on (416, 210).
TEST(Import, MapsLieTheRightWayRoundAndBlendedTexelsLetTheBackgroundThrough) {
    ScratchDirectory scratch;
    ASSERT_EQ(import(scratch.path(), fixtures / "external.gltf", "--out .").status, 0);
    const CommandRun rendered =
        runIn(scratch.path(), std::string(KVOR_INSPECT) + " scene external.kvs --render 0 --png frame.png");
    ASSERT_EQ(rendered.status, 0) << rendered.errors;
    const auto near = [](Rgb got, Rgb want, int within) {
        return std::abs(got.r - want.r) <= within && std::abs(got.g - want.g) <= within &&
               std::abs(got.b - want.b) <= within;
    };
    const Rgb red = pixelAt(scratch / "frame.png", 416, 210);
    EXPECT_TRUE(near(red, {255, 0, 0}, 8)) << red.r << " " << red.g << " " << red.b;
    // A map with alpha becomes a 4-bit-per-channel texture: a channel v shows as (v >> 4) x 17.
    // Texel (2, 2), opaque: (255, 40, 60), at the centre of its pixels.
    const Rgb opaque = pixelAt(scratch / "frame.png", 232, 222);
    EXPECT_TRUE(near(opaque, {255, 34, 51}, 8)) << opaque.r << " " << opaque.g << " " << opaque.b;
    // Texel (6, 2) is (255, 120, 60) at alpha 100 (102 in 4 bits) over black: 0.4 of it.
    const Rgb blended = pixelAt(scratch / "frame.png", 296, 222);
    EXPECT_TRUE(near(blended, {102, 48, 20}, 12)) << blended.r << " " << blended.g << " " << blended.b;
    // Texel (2, 6) below: (255, 40, 180); v runs down the map as in glTF.
    const Rgb lower = pixelAt(scratch / "frame.png", 232, 270);
    EXPECT_TRUE(near(lower, {255, 34, 187}, 8)) << lower.r << " " << lower.g << " " << lower.b;
}

// The sample's checker map as the engine decodes its JPEG, against the map
// make_scene.py paints: 8-texel squares of (230, 204, 51) and (26, 51, 153),
// a red square in the top left corner. JPEG's usual half-resolution colour
// smeared each edge over the next texels, the red one by 102 levels.
TEST(Import, APictureKeepsItsColoursTexelForTexel) {
    ScratchDirectory scratch;
    ASSERT_EQ(import(scratch.path(), firstScene, "--out .").status, 0);
    const CommandRun decoded =
        runIn(scratch.path(), std::string(KVOR_INSPECT) + " image first-scene-1.jpg --png map.png");
    ASSERT_EQ(decoded.status, 0) << decoded.errors;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (scratch / "map.png").c_str()));
    image.format = PNG_FORMAT_RGBA;  // a JPEG's alpha is 0: read past it
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    ASSERT_EQ(image.width, 64u);
    ASSERT_EQ(image.height, 64u);
    int worst = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool light = (x / 8 + y / 8) % 2 == 1;
            const Rgb want = x < 8 && y < 8 ? Rgb{255, 0, 0} : light ? Rgb{230, 204, 51} : Rgb{26, 51, 153};
            const uint8_t* got = &pixels[(static_cast<size_t>(y) * 64 + static_cast<size_t>(x)) * 4];
            worst = std::max({worst, std::abs(got[0] - want.r), std::abs(got[1] - want.g), std::abs(got[2] - want.b)});
        }
    EXPECT_LE(worst, 6);
}

struct BadInput {
    std::string file;  // in the fixtures, or "truncated.glb" made by the test
    std::string options;
    std::string message;
};

class RefusedImport : public testing::TestWithParam<BadInput> {};

// A refused import says why, exits 2 and leaves the scene already there as it was.
TEST_P(RefusedImport, WritesNothing) {
    ScratchDirectory scratch;
    ASSERT_EQ(import(scratch.path(), fixtures / "strips.gltf", "--out out --name scene").status, 0);
    const auto before = contents(scratch / "out");
    const std::string bytes = readFile(firstScene);
    testing_support::writeFile(scratch / "truncated.glb", bytes.substr(0, bytes.size() / 2));
    const BadInput& bad = GetParam();
    const std::filesystem::path input = bad.file == "truncated.glb" ? scratch / bad.file : fixtures / bad.file;
    const CommandRun run = import(scratch.path(), input, "--out out --name scene " + bad.options);
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.errors, HasSubstr(bad.message));
    if (bad.message.find("usage") == std::string::npos) {
        EXPECT_THAT(run.errors, HasSubstr(input.string() + ": "));
    }
    EXPECT_EQ(contents(scratch / "out"), before);
    EXPECT_EQ(run.output, "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedImport,
    testing::Values(BadInput{"bad-not-gltf.gltf", "", "parse error"}, BadInput{"bad-version.gltf", "", "not glTF 2.0"},
                    BadInput{"truncated.glb", "", "glb"},
                    BadInput{"bad-accessor-range.gltf", "", "accessor 0 reaches beyond the end of its buffer view"},
                    BadInput{"bad-view-range.gltf", "", "buffer view 0 reaches beyond the end of its buffer"},
                    BadInput{"bad-index.gltf", "", "vertex index 7 of 3 vertices"},
                    BadInput{"bad-cycle.gltf", "", "is its own ancestor"}, BadInput{"bad-image.gltf", "", "image"},
                    BadInput{"bad-long-animation.gltf", "", "longer than an hour"},
                    BadInput{"strips.gltf", "--camera nobody", "no camera named \"nobody\""},
                    BadInput{"strips.gltf", "--fog linear:10:5", "usage"},
                    BadInput{"strips.gltf", "--ambient 1,2", "usage"}),
    [](const testing::TestParamInfo<BadInput>& info) {
        return stem(info.param.file) + (info.param.options.empty() ? "" : "_" + std::to_string(info.index));
    });

TEST(Import, RefusesANameLongerThanTheSceneFileHolds) {
    ScratchDirectory scratch;
    const CommandRun run = import(scratch.path(), fixtures / "strips.gltf", "--name " + std::string(100, 'n'));
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.errors, HasSubstr("at most 99 characters"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "datas"));
}

// Corners by hand from the glTF rules: strip triangle i is (i, i+1, i+2)
// with the last two swapped for odd i; fan triangle i is (i+1, i+2, 0).
TEST(TriangleCorners, FollowTheModesRules) {
    using gltf_import::triangleCorners;
    const std::vector<uint32_t> five{0, 1, 2, 3, 4};
    EXPECT_EQ(triangleCorners(TINYGLTF_MODE_TRIANGLES, five), (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(triangleCorners(TINYGLTF_MODE_TRIANGLE_STRIP, five), (std::vector<uint32_t>{0, 1, 2, 1, 3, 2, 2, 3, 4}));
    EXPECT_EQ(triangleCorners(TINYGLTF_MODE_TRIANGLE_FAN, five), (std::vector<uint32_t>{1, 2, 0, 2, 3, 0, 3, 4, 0}));
    // Repeated indices join strips: the triangles between draw nothing, and
    // the fourth, odd, turns its last two corners.
    EXPECT_EQ(triangleCorners(TINYGLTF_MODE_TRIANGLE_STRIP, {0, 1, 2, 2, 5, 6}),
              (std::vector<uint32_t>{0, 1, 2, 2, 6, 5}));
    EXPECT_TRUE(triangleCorners(TINYGLTF_MODE_TRIANGLES, {0, 1}).empty());
}

// The engine's square view holds the camera's whole frame: half-width and
// half-height are tan(yfov / 2) times the aspect ratio and times 1.
TEST(EngineFieldOfView, HoldsTheCamerasWholeFrame) {
    struct Case {
        double halfHeight, aspect, engineHalfAngleTangent;
    };
    for (const Case& c : {Case{0.75, 4.0 / 3.0, 1.0},  // a horizontal view of 90 degrees at 4:3
                          Case{0.3, 0.0, 0.4},         // no aspect ratio given: 4:3
                          Case{0.45, 16.0 / 9.0, 0.8}, // wide: its width
                          Case{0.5, 1.0, 0.5},         // square: either
                          Case{0.6, 0.75, 0.6}})       // upright: its height
        EXPECT_NEAR(gltf_import::engineFieldOfView(2 * std::atan(c.halfHeight), c.aspect),
                    2 * std::atan(c.engineHalfAngleTangent), 1e-6)
            << c.halfHeight << " at " << c.aspect;
}

TEST(TargetView, LooksWhereTheGltfCameraLooksAndRollsAsItDoes) {
    using gltf_import::Quat;
    // A glTF camera looks along its -z, the engine's along +z of the mirrored space.
    const auto ahead = gltf_import::targetView({1, 2, 3}, Quat{});
    EXPECT_NEAR(ahead.roll, 0.0f, 1e-6f);
    EXPECT_NEAR(ahead.position.z, -3.0f, 1e-6f);
    EXPECT_NEAR(ahead.target.z - ahead.position.z, 100.0f, 1e-3f);
    EXPECT_NEAR(ahead.target.x - ahead.position.x, 0.0f, 1e-4f);
    // Rolled a quarter turn to the left (about +z of glTF, towards the viewer):
    // the engine rolls its world the other way round in mirrored space.
    const double half = std::numbers::pi / 8;
    const auto rolled = gltf_import::targetView({0, 0, 0}, Quat{0, 0, std::sin(half), std::cos(half)});
    EXPECT_NEAR(std::abs(rolled.roll), std::numbers::pi / 4, 1e-5);
}

TEST(ChannelSampler, InterpolatesAsEachModeSays) {
    using gltf_import::ChannelSampler;
    ChannelSampler sampler;
    sampler.components = 3;
    sampler.times = {1.0f, 2.0f};
    sampler.values = {0, 0, 0, 4, 8, -2};
    sampler.interpolation = ChannelSampler::Interpolation::linear;
    EXPECT_EQ(sampler.at(1.25), (std::vector<double>{1, 2, -0.5}));
    EXPECT_EQ(sampler.at(0.0), (std::vector<double>{0, 0, 0}));   // before the first key: the first value
    EXPECT_EQ(sampler.at(9.0), (std::vector<double>{4, 8, -2}));  // after the last: the last
    sampler.interpolation = ChannelSampler::Interpolation::step;
    EXPECT_EQ(sampler.at(1.99), (std::vector<double>{0, 0, 0}));
    // Hermite with in and out tangents: flat tangents give 1/2 at the middle,
    // an out tangent of 4 per second over one second adds (s^3 - 2s^2 + s) 4 = 0.5.
    sampler.interpolation = ChannelSampler::Interpolation::cubicSpline;
    sampler.components = 1;
    sampler.values = {0, 0, 0, 0, 1, 0};
    EXPECT_NEAR(sampler.at(1.5)[0], 0.5, 1e-12);
    sampler.values = {0, 0, 4, 0, 1, 0};
    EXPECT_NEAR(sampler.at(1.5)[0], 1.0, 1e-12);
}

TEST(ImportOptions, ReadFogAndAmbient) {
    using gltf_import::parseColour;
    using gltf_import::parseFog;
    const auto linear = parseFog("linear:10:250.5");
    ASSERT_TRUE(linear);
    EXPECT_EQ(linear->flags, 0x01);
    EXPECT_EQ(linear->start, 10.0f);
    EXPECT_EQ(linear->end, 250.5f);
    // The file stores the density in units of 0.0001.
    const auto squared = parseFog("exp2:0.0025");
    ASSERT_TRUE(squared);
    EXPECT_EQ(squared->flags, 0x07);
    EXPECT_NEAR(squared->density, 25.0f, 1e-3f);
    EXPECT_EQ(parseFog("exp:0.01")->flags, 0x03);
    for (const char* wrong : {"linear:5", "linear:9:3", "exp:-1", "exp2:", "fog", "linear:1:x", "exp:nan"})
        EXPECT_FALSE(parseFog(wrong)) << wrong;
    EXPECT_EQ(parseColour("0.5,1,0")->x, 0.5f);
    for (const char* wrong : {"1,1", "1,1,1,1", "2,0,0", "a,b,c", ""}) EXPECT_FALSE(parseColour(wrong)) << wrong;
}

}  // namespace
