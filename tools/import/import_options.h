#pragma once
// The command line of kvor-import.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/import/scene_convert.h"

namespace gltf_import {

struct ImportOptions {
    std::filesystem::path input;
    std::filesystem::path directory = "datas";
    ConvertOptions convert;  // its name defaults to the input's stem
};

// The options, or the reason they make no sense.
struct ParsedOptions {
    std::optional<ImportOptions> options;
    std::string error;
};

ParsedOptions parseImportOptions(const std::vector<std::string>& arguments);

// "linear:START:END", "exp:DENSITY" or "exp2:DENSITY" as the scene file's fog.
std::optional<kvs::Fog> parseFog(const std::string& text);
// "R,G,B", each from 0 to 1.
std::optional<Vector3> parseColour(const std::string& text);

}  // namespace gltf_import
