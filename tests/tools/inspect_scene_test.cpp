// kvor-inspect scene as a content maker runs it: checked against an
// independent reading of the file (tests/tools/kvs_reference.py) on scenes it
// has never seen, and a frame drawn on the capture driver read back as pixels.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>

#include "tests/support/shell_command.h"
#include "tests/support/test_support.h"
#include "tools/image_writers/image_writers.h"
#include "tools/kvs/kvs_writer.h"

using testing::HasSubstr;
using testing_support::CommandRun;
using testing_support::quoted;
using testing_support::readFile;
using testing_support::runIn;
using testing_support::ScratchDirectory;

namespace {

// A scene of random shape: every kind of record, parents among the objects
// before (names are unique, so there is no cycle), tracks of random keys at
// increasing times. Seeds 1 to 16 give every environment and every fog flag
// combination in both versions.
class RandomScene {
public:
    explicit RandomScene(unsigned seed) : seed(seed), random(seed) {}

    kvs::SceneFile make() {
        kvs::SceneFile file;
        file.version = 1 + static_cast<int>(seed % 2);
        file.name = "scene" + std::to_string(pick(100));
        file.firstFrame = pick(3);
        file.lastFrame = 2 + pick(8);
        file.headerValueC = pick(1000) - 500;
        file.frameStep = 1 + pick(200);
        file.extraCount = pick(5);
        const auto flags = static_cast<uint8_t>(seed / 2 % 8 | pick(32) << 3);
        file.environment = {flags, "env" + std::to_string(pick(9)), point(1), point(1)};
        file.fog = {static_cast<uint8_t>((seed / 2 + 3) % 8), number(500), number(5000), number(50)};
        for (int s = 1 + pick(3); s > 0; --s) file.materialSets.push_back(materialSet());
        for (int m = pick(5); m > 0; --m) file.meshes.push_back(mesh(file));
        for (int c = pick(3); c > 0; --c) file.cameras.push_back(camera(file));
        return file;
    }

private:
    int pick(int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); }
    float number(float range) { return std::uniform_real_distribution<float>(-range, range)(random); }
    Vector3 point(float range) { return {number(range), number(range), number(range)}; }

    kvs::ObjectHeader header() {
        kvs::ObjectHeader made;
        made.name = "object" + std::to_string(names.size());
        if (!names.empty() && pick(2))
            made.parentName = names[static_cast<size_t>(pick(static_cast<int>(names.size())))];
        if (pick(8) == 0) made.parentName = pick(2) ? made.name : "nobody";
        names.push_back(made.name);
        made.tag = static_cast<int16_t>(pick(60000) - 30000);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) made.rotation.m[i][j] = number(1);
        made.position = point(50);
        made.restPosition = point(50);
        return made;
    }

    kvs::MaterialSet materialSet() {
        kvs::MaterialSet set;
        for (int m = 1 + pick(3); m > 0; --m) {
            kvs::Material material{
                point(1), point(1), point(1), pick(2) ? 0.0f : number(1), static_cast<uint8_t>(pick(256)), {}};
            static const char* const textures[] = {"wood.tga", "Glass.ZKV", "maps\\Stone.JPG"};
            if (pick(3) == 0) material.textureNames = {textures[pick(3)], "unused.tga"};
            set.materials.push_back(material);
        }
        if (set.materials.size() == 1 && pick(2)) set.storedCount = 0;
        return set;
    }

    template <typename Key, typename Make>
    std::vector<Key> keys(const kvs::SceneFile& file, Make value) {
        std::vector<Key> made;
        const int count = pick(3) == 0 ? file.lastFrame + 1 : 1 + pick(4);
        int32_t time = pick(2) ? 0 : file.frameStep * pick(3);
        for (int k = 0; k < count; ++k, time += file.frameStep * pick(3)) made.push_back({time, value()});
        return made;
    }

    kvs::Animation animation(const kvs::SceneFile& file, bool turning) {
        if (pick(3) == 0) return {};
        if (pick(6) == 0) return kvs::Animation{static_cast<uint8_t>(1 + 2 * pick(3)), {}};
        std::vector<kvs::PositionKey> positions;
        std::vector<kvs::RotationKey> rotations;
        if (pick(3)) positions = keys<kvs::PositionKey>(file, [&] { return point(50); });
        if (pick(2))
            rotations = keys<kvs::RotationKey>(file, [&] {
                return turning ? Quaternion{number(1), number(1), number(1), number(1)}
                               : Quaternion{number(3), 0, 0, 0};
            });
        return kvs::Animation::sampledTracks(positions, rotations);
    }

    kvs::Mesh mesh(const kvs::SceneFile& file) {
        kvs::Mesh made;
        made.header = header();
        made.textured = pick(2);
        made.spareFlag3 = pick(2);
        made.materialIndex = pick(static_cast<int>(file.materialSets.size()));
        made.flatColour = point(1);
        for (int v = pick(12); v > 0; --v) made.vertices.push_back(point(40));
        const size_t subCount = file.materialSets[static_cast<size_t>(made.materialIndex)].materials.size();
        for (int f = made.vertices.empty() ? 0 : pick(6); f > 0; --f) {
            const auto corner = [&] { return pick(static_cast<int>(made.vertices.size())); };
            made.faces.push_back(
                {corner(), corner(), corner(), static_cast<uint16_t>(pick(static_cast<int>(subCount)))});
            made.textureFaces.push_back({0, 0, 0});
        }
        if (pick(2)) made.textureVertices = {{number(1), number(1)}};
        made.animation = animation(file, true);
        return made;
    }

    kvs::Camera camera(const kvs::SceneFile& file) {
        kvs::Camera made;
        made.cameraKind = static_cast<uint8_t>(pick(2));
        made.header = header();
        if (made.cameraKind == kvs::Camera::targetKind) made.targetHeader = header();
        made.animation = animation(file, false);
        made.targetAnimation = animation(file, false);
        for (int f = pick(3); f > 0; --f) made.fieldOfView.push_back(0.2f + std::fabs(number(1.5f)));
        return made;
    }

    unsigned seed;
    std::mt19937 random;
    std::vector<std::string> names;
};

}  // namespace

// The textures random scenes name, beside them.
void writeTextures(const ScratchDirectory& directory) {
    const image_writers::Image image{2, 1, {0xFF336699, 0x80FFFFFF}};
    image_writers::writeFile(directory / "wood.tga", image_writers::tgaTrueColour(image, 24));
    image_writers::writeFile(directory / "Glass.ZKV", image_writers::gzip(image_writers::zkvBody(image, 32, true), 6));
    // A JPEG is looked for by its lower-cased base name; its loader prints the
    // picture's size on standard output, which must not reach the JSON.
    image_writers::writeFile(directory / "stone.jpg",
                             image_writers::jpeg(2, 1, image_writers::rgbSamples(image), 3, 90));
}

TEST(InspectScene, AgreesWithAnIndependentReadingOnScenesItHasNeverSeen) {
    ScratchDirectory directory;
    writeTextures(directory);
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const kvs::SceneFile file = RandomScene(seed).make();
        kvs::saveSceneFile(file, directory / "scene.kvs");
        std::string frames;
        for (int32_t frame : {0, file.lastFrame / 2, file.lastFrame}) frames += " --frame " + std::to_string(frame);
        const CommandRun inspected = runIn(directory.path(), quoted(KVOR_INSPECT) + " scene scene.kvs" + frames);
        ASSERT_EQ(inspected.status, 0) << "seed " << seed << ": " << inspected.errors;
        testing_support::writeFile(directory / "inspect.json", inspected.output);
        const CommandRun compared = runIn(directory.path(), quoted(PYTHON) + " " + quoted(KVS_REFERENCE) +
                                                                " compare scene.kvs inspect.json" + frames);
        EXPECT_EQ(compared.status, 0) << "seed " << seed << ":\n" << compared.output << compared.errors;
    }
}

TEST(InspectScene, BadFilesStopAsTheEngineDoesAndNothingIsLeftBehind) {
    ScratchDirectory directory;
    std::vector<uint8_t> bytes = kvs::sceneFileBytes(RandomScene(3).make());
    bytes.resize(bytes.size() - 1);
    kvs::saveBytes(bytes, directory / "cut.kvs");
    const CommandRun cut = runIn(directory.path(), quoted(KVOR_INSPECT) + " scene cut.kvs --log log.txt");
    EXPECT_EQ(cut.status, 255);
    EXPECT_EQ(cut.errors, "error!: error : can't read the file\n");
    EXPECT_THAT(readFile(directory / "log.txt"), HasSubstr("\nerror while reading cut.kvs : "));
    kvs::SceneFile file;
    file.lastFrame = 2;
    kvs::saveSceneFile(file, directory / "short.kvs");
    const CommandRun late = runIn(directory.path(), quoted(KVOR_INSPECT) + " scene short.kvs --frame 3");
    EXPECT_EQ(late.status, 1);
    EXPECT_EQ(late.errors, "kvor-inspect scene: frame 3 outside 0 to 2\n");
    EXPECT_EQ(runIn(directory.path(), quoted(KVOR_INSPECT) + " scene short.kvs --render 1").status, 2);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(directory.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"cut.kvs", "log.txt", "short.kvs"}));
}

namespace {

// A red wall filling the middle of the view, half hidden by a smaller pane of
// white glass (a TGA texture stamped with opacity 0.5), seen from (0, 0, -10)
// by a target camera looking at the origin. The wall is given in both
// windings (culling keeps one of each pair); the glass, drawn without
// culling, in one.
kvs::SceneFile wallBehindGlass() {
    kvs::SceneFile file;
    file.environment.flags = 0x06;
    kvs::Material red, glass;
    red.textureNames = {"red.tga"};
    glass.textureNames = {"white.tga"};
    glass.transparency = 0.5f;
    file.materialSets = {{{red, glass}, std::nullopt}};
    const auto quad = [](const char* name, float half, float z, uint16_t sub, bool bothWindings) {
        kvs::Mesh mesh;
        mesh.header.name = name;
        mesh.textured = true;
        mesh.vertices = {{-half, -half, z}, {half, -half, z}, {half, half, z}, {-half, half, z}};
        mesh.faces = {{0, 1, 2, sub}, {0, 2, 3, sub}};
        if (bothWindings) mesh.faces.insert(mesh.faces.end(), {{0, 2, 1, sub}, {0, 3, 2, sub}});
        return mesh;
    };
    file.meshes = {quad("wall", 3.0f, 0.0f, 0, true), quad("glass", 1.0f, -2.0f, 1, false)};
    kvs::Camera camera;
    camera.cameraKind = kvs::Camera::targetKind;
    camera.header.name = "eye";
    camera.header.restPosition = {0, 0, -10};
    camera.targetHeader.name = "aim";
    camera.fieldOfView = {1.0f};
    file.cameras = {camera};
    return file;
}

// Red, green, blue of pixel (x, y) of a PNG, through ImageMagick.
std::array<int, 3> pixel(const std::filesystem::path& png, int x, int y) {
    const std::string command = "/usr/bin/convert " + quoted(png) + " -crop 1x1+" + std::to_string(x) + "+" +
                                std::to_string(y) + " -depth 8 rgb:-";
    std::array<int, 3> rgb{-1, -1, -1};
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        uint8_t bytes[3];
        if (std::fread(bytes, 1, 3, pipe) == 3) rgb = {bytes[0], bytes[1], bytes[2]};
        pclose(pipe);
    }
    return rgb;
}

}  // namespace

TEST(InspectScene, RendersAFrameOnTheCaptureDriver) {
    ScratchDirectory directory;
    const image_writers::Image red{1, 1, {0xFFFF0000}}, white{1, 1, {0xFFFFFFFF}};
    image_writers::writeFile(directory / "red.tga", image_writers::tgaTrueColour(red, 24));
    image_writers::writeFile(directory / "white.tga", image_writers::tgaTrueColour(white, 24));
    kvs::saveSceneFile(wallBehindGlass(), directory / "wall.kvs");
    const std::filesystem::path png = directory / "frame.png";
    const CommandRun run = runIn(directory.path(), quoted(KVOR_INSPECT) + " scene wall.kvs --render 0 --png frame.png");
    ASSERT_EQ(run.status, 0) << run.errors;
    // cot(0.5) = 1.83: the wall's edge x = 3 at depth 10 lands 0.549 of the
    // half-width right of the centre (x 496), the glass's x = 1 at depth 8 at
    // 0.229 (x 393).
    struct Probe {
        const char* what;
        int x, y;
        std::array<int, 3> rgb;
    };
    const Probe probes[] = {{"glass over the wall", 320, 240, {255, 128, 128}},
                            {"the wall alone", 450, 240, {255, 0, 0}},
                            {"beyond the wall", 520, 240, {0, 0, 0}},
                            {"the corner", 5, 5, {0, 0, 0}}};
    for (const Probe& probe : probes) {
        const std::array<int, 3> seen = pixel(png, probe.x, probe.y);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(seen[c], probe.rgb[c], 12) << probe.what << ", channel " << c;
    }
    if (const char* keep = std::getenv("KVOR_KEEP_RENDER")) std::filesystem::copy_file(png, keep);
}
