#include "tools/import/import_options.h"

#include <charconv>
#include <cmath>

namespace gltf_import {

namespace {

// The scene file stores an exponential density divided by this.
constexpr float storedDensityUnit = 0.0001f;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::optional<float> number(const std::string& text) {
    float value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool validName(const std::string& name) {
    return !name.empty() && name.size() <= longestName && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

}  // namespace

std::optional<kvs::Fog> parseFog(const std::string& text) {
    const std::vector<std::string> parts = split(text, ':');
    if (parts[0] == "linear" && parts.size() == 3) {
        const auto start = number(parts[1]), end = number(parts[2]);
        if (!start || !end || *start >= *end) return std::nullopt;
        return kvs::Fog{0x01, *start, *end, 0.0f};
    }
    if ((parts[0] == "exp" || parts[0] == "exp2") && parts.size() == 2) {
        const auto density = number(parts[1]);
        if (!density || *density <= 0) return std::nullopt;
        return kvs::Fog{static_cast<uint8_t>(parts[0] == "exp" ? 0x03 : 0x07), 0.0f, 0.0f,
                        *density / storedDensityUnit};
    }
    return std::nullopt;
}

std::optional<Vector3> parseColour(const std::string& text) {
    const std::vector<std::string> parts = split(text, ',');
    if (parts.size() != 3) return std::nullopt;
    float channel[3];
    for (size_t i = 0; i < 3; ++i) {
        const auto value = number(parts[i]);
        if (!value || *value < 0 || *value > 1) return std::nullopt;
        channel[i] = *value;
    }
    return Vector3{channel[0], channel[1], channel[2]};
}

ParsedOptions parseImportOptions(const std::vector<std::string>& arguments) {
    ImportOptions options;
    std::optional<std::string> name;
    bool haveInput = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (!word.starts_with("--")) {
            if (haveInput) return {std::nullopt, "one input file only"};
            options.input = word;
            haveInput = true;
            continue;
        }
        if (i + 1 == arguments.size()) return {std::nullopt, word + " needs a value"};
        const std::string& value = arguments[++i];
        if (word == "--out") {
            options.directory = value;
        } else if (word == "--name") {
            name = value;
        } else if (word == "--camera") {
            options.convert.camera = value;
        } else if (word == "--fog") {
            const auto fog = parseFog(value);
            if (!fog) return {std::nullopt, "--fog takes linear:START:END, exp:DENSITY or exp2:DENSITY"};
            options.convert.fog = *fog;
        } else if (word == "--ambient") {
            const auto colour = parseColour(value);
            if (!colour) return {std::nullopt, "--ambient takes R,G,B, each from 0 to 1"};
            options.convert.ambient = *colour;
        } else {
            return {std::nullopt, "unknown option " + word};
        }
    }
    if (!haveInput) return {std::nullopt, "no input file"};
    options.convert.name = name ? *name : options.input.stem().string();
    if (!validName(options.convert.name))
        return {std::nullopt, "the name \"" + options.convert.name + "\" is not a file name of at most 99 characters"};
    return {options, {}};
}

}  // namespace gltf_import
