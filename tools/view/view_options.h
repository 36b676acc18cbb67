#pragma once
// The command line of kvor-view.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace view {

struct ViewOptions {
    std::filesystem::path folder = "datas";   // the data folder watched
    std::optional<std::string> sceneFile;     // a scene alone, in folder, played in a loop
    bool enhanced = false;
};

struct ParsedViewOptions {
    std::optional<ViewOptions> options;
    std::string error;  // set when options is not
};

// [DIR | FILE.kvs] [--enhanced]
ParsedViewOptions parseViewOptions(const std::vector<std::string>& arguments);
std::string viewUsage();

}  // namespace view
