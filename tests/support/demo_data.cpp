#include "tests/support/demo_data.h"

#include "tests/support/scene_files.h"
#include "tools/image_writers/image_writers.h"

namespace testing_support {

namespace {

constexpr const char* titleImages[] = {"vrn et qim.jpg", "presentent.jpg", "nomDemo.jpg", "complet.jpg", "mireli.jpg",
                                       "pfo 2k.jpg",     "accelerate.jpg", "fly.jpg",     "dontstop.jpg"};

// A white triangle 5 units in front of a free camera at the origin, in the
// middle of the screen.
kvs::SceneFile sceneFile(const DemoScene& scene) {
    kvs::SceneFile file;
    file.environment.flags = 0x06;
    file.firstFrame = scene.firstFrame;
    file.lastFrame = scene.lastFrame;
    kvs::Mesh triangle = triangleMesh("tri", {5, -1, -1}, {5, -1, 1}, {5, 1, 0});
    if (scene.moving) {
        std::vector<kvs::PositionKey> keys;
        for (int32_t frame = 0; frame <= scene.lastFrame; ++frame)
            keys.push_back({frame * file.frameStep, {static_cast<float>(frame), 0, 0}});
        triangle.animation = kvs::Animation::sampledTracks(keys);
    }
    file.meshes = {triangle};
    file.cameras = {freeCamera("cam")};
    return file;
}

}  // namespace

DemoDirectory::DemoDirectory(const DemoScenes& scenes) : previous(std::filesystem::current_path()) {
    const std::filesystem::path datas = directory / "datas";
    std::filesystem::create_directory(datas);
    kvs::saveSceneFile(sceneFile(scenes.tores), datas / "tores.kvs");
    kvs::saveSceneFile(sceneFile(scenes.mont), datas / "mont.kvs");
    kvs::saveSceneFile(sceneFile(scenes.salle), datas / "salle.kvs");
    const image_writers::Bytes white(8 * 8 * 3, 0xFF);
    for (const char* name : titleImages)
        image_writers::writeFile(datas / name, image_writers::jpeg(8, 8, white, 3, 90));
    std::filesystem::current_path(directory.path());
}

DemoDirectory::~DemoDirectory() { std::filesystem::current_path(previous); }

}  // namespace testing_support
