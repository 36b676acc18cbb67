#include "tools/make_datas/datas_writer.h"

#include "tools/kvs/kvs_writer.h"
#include "tools/make_datas/demo_scenes.h"
#include "tools/make_datas/soundtrack.h"
#include "tools/make_datas/texture_files.h"
#include "tools/make_datas/title_images.h"

namespace datas {

namespace {

void writeScene(const std::filesystem::path& directory, const DemoScene& scene, const DatasOptions& options) {
    for (const TextureFile& texture : scene.textures) {
        image_writers::writeFile(directory / texture.name, texture.bytes);
        if (options.progress) options.progress(texture.name);
    }
    kvs::saveSceneFile(scene.file, directory / scene.fileName);
    if (options.progress) options.progress(scene.fileName);
}

}  // namespace

void writeDatas(const std::filesystem::path& directory, const DatasOptions& options) {
    std::filesystem::create_directories(directory);
    writeScene(directory, toresScene({toresFrameCount}), options);
    writeScene(directory, montScene({montFrameCount}), options);
    writeScene(directory, salleScene({salleFrameCount}), options);
    for (const TitleImage& title : titleImages()) {
        image_writers::writeFile(directory / title.fileName, jpegTexture(title.fileName, renderTitle(title, options.fontDirectory)).bytes);
        if (options.progress) options.progress(title.fileName);
    }
    const char* soundtrackName = "kvor-theme.wav";
    image_writers::writeFile(directory / soundtrackName, waveFile(synthesiseTheme(showSeconds(montFrameCount, salleFrameCount))));
    if (options.progress) options.progress(soundtrackName);
}

}  // namespace datas
