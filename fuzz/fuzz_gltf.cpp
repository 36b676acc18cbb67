// libFuzzer target: kvor-import's read, check and convert stages on any file,
// as binary glTF or JSON, up to the scene file's bytes. Files the input names
// are never opened.

#include "tools/import/gltf_check.h"
#include "tools/import/gltf_read.h"
#include "tools/import/import_error.h"
#include "tools/import/scene_convert.h"
#include "tools/kvs/kvs_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const tinygltf::Model model = gltf_import::readGltfBytes({data, size}, ".", false);
        gltf_import::checkGltf(model);
        gltf_import::ConvertOptions options;
        options.name = "fuzz";
        const gltf_import::ImportedScene scene = gltf_import::convertScene(model, options);
        kvs::sceneFileBytes(scene.file);
    } catch (const gltf_import::ImportError&) {
        // A refused file is what the importer is for.
    }
    return 0;
}
