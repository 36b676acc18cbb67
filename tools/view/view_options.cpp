#include "tools/view/view_options.h"

namespace view {

std::string viewUsage() {
    return "usage: kvor-view [DIR | FILE.kvs] [--enhanced]\n"
           "Plays the show from DIR (datas by default), or one scene in a loop, with a timeline:\n"
           "Space pauses; Left and Right go one second back or forward, one frame with Shift;\n"
           "Page Up and Page Down go to the previous or next part; Home to the start; Escape closes.\n"
           "A scene or texture written again in the folder is loaded again at the same frame.\n";
}

ParsedViewOptions parseViewOptions(const std::vector<std::string>& arguments) {
    ViewOptions options;
    bool placeGiven = false;
    for (const std::string& argument : arguments) {
        if (argument == "--enhanced") {
            options.enhanced = true;
        } else if (argument.rfind("--", 0) == 0 || placeGiven) {
            return {{}, "unknown argument " + argument};
        } else {
            placeGiven = true;
            const std::filesystem::path place = argument;
            if (place.extension() == ".kvs" || place.extension() == ".KVS") {
                options.folder = place.has_parent_path() ? place.parent_path() : ".";
                options.sceneFile = place.filename().string();
            } else {
                options.folder = place;
            }
        }
    }
    std::error_code error;
    if (!std::filesystem::is_directory(options.folder, error))
        return {{}, "no folder " + options.folder.string()};
    if (options.sceneFile && !std::filesystem::is_regular_file(options.folder / *options.sceneFile, error))
        return {{}, "no scene file " + (options.folder / *options.sceneFile).string()};
    return {options, {}};
}

}  // namespace view
