// kvor-import: a glTF 2.0 scene as a .kvs scene and the texture files it names.
// kvor-import INPUT.gltf|INPUT.glb [--out DIR] [--name NAME] [--camera NAME]
//             [--fog linear:START:END|exp:DENSITY|exp2:DENSITY] [--ambient R,G,B]

#include <iostream>
#include <string>
#include <vector>

#include "tools/import/gltf_check.h"
#include "tools/import/gltf_read.h"
#include "tools/import/import_error.h"
#include "tools/import/import_options.h"
#include "tools/import/scene_summary.h"
#include "tools/import/scene_write.h"
#include "tools/version/version_option.h"

namespace {

constexpr int exitBadInput = 2;

int usage(const std::string& problem) {
    std::cerr << "kvor-import: " << problem << "\n"
              << "usage: kvor-import INPUT.gltf|INPUT.glb [--out DIR] [--name NAME] [--camera NAME]\n"
              << "                   [--fog linear:START:END|exp:DENSITY|exp2:DENSITY] [--ambient R,G,B]\n";
    return exitBadInput;
}

}  // namespace

int main(int argc, char** argv) {
    if (printVersionIfAsked(argc, argv, "kvor-import")) return 0;
    const gltf_import::ParsedOptions parsed = gltf_import::parseImportOptions({argv + 1, argv + argc});
    if (!parsed.options) return usage(parsed.error);
    const gltf_import::ImportOptions& options = *parsed.options;
    try {
        const tinygltf::Model model = gltf_import::readGltf(options.input);
        gltf_import::checkGltf(model);
        const gltf_import::ImportedScene scene = gltf_import::convertScene(model, options.convert);
        gltf_import::writeImport(scene, options.directory, options.convert.name);
        std::cout << gltf_import::summary(scene, options.directory / (options.convert.name + ".kvs"));
    } catch (const gltf_import::ImportError& error) {
        std::cerr << "kvor-import: " << options.input.string() << ": " << error.what() << '\n';
        return exitBadInput;
    } catch (const std::bad_alloc&) {
        std::cerr << "kvor-import: " << options.input.string() << ": not enough memory\n";
        return exitBadInput;
    }
    return 0;
}
