// kvor-inspect scene: loads a scene file through the engine's scene load on the
// null driver and describes it as JSON, or draws one frame on the capture
// driver into a PNG.

#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <optional>

#include "base/display_state.h"
#include "base/log.h"
#include "base/process_state.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"
#include "render/scene_frame.h"
#include "scene/scene.h"
#include "tools/inspect/command_line.h"
#include "tools/inspect/inspect_display.h"
#include "tools/inspect/quiet_standard_output.h"
#include "tools/inspect/scene_json.h"
#include "tools/inspect/subcommands.h"

namespace {

struct SceneRequest {
    std::filesystem::path file;
    std::vector<int32_t> frames;
    std::optional<int32_t> renderFrame;
    std::filesystem::path png;
};

// "--frame N" may repeat, so it is taken out before the other options.
std::string parseRequest(std::vector<std::string> arguments, SceneRequest& request) {
    if (!takeRepeatedNumbers(arguments, "--frame", request.frames)) return "--frame needs a frame number";
    const CommandLine line = parseCommandLine(arguments, {"--render", "--png"});
    if (!line.error.empty()) return line.error;
    if (line.positional.size() != 1) return "expected one FILE";
    request.file = std::filesystem::absolute(line.positional[0]);
    const bool render = line.options.contains("--render"), png = line.options.contains("--png");
    if (render != png) return "--render and --png go together";
    if (!render) return {};
    if (!request.frames.empty()) return "--frame and --render do not go together";
    request.renderFrame = parseNumber<int32_t>(line.options.at("--render"));
    if (!request.renderFrame) return "--render needs a frame number";
    request.png = std::filesystem::absolute(line.options.at("--png"));
    return {};
}

// As the demo does: from the file's directory, where its textures are, by its
// base name.
void loadFromItsDirectory(Scene& scene, const std::filesystem::path& file) {
    QuietStandardOutput quiet;
    std::filesystem::current_path(file.parent_path());
    scene.load(file.filename().c_str(), nullptr);
}

int versionOf(const std::filesystem::path& file) {
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    char magic[7] = {};
    const size_t read = stream ? std::fread(magic, 1, sizeof magic, stream) : 0;
    if (stream) std::fclose(stream);
    return read == sizeof magic ? magic[6] - '0' : 0;
}

std::optional<std::string> frameOutside(const Scene& scene, const std::vector<int32_t>& frames) {
    for (int32_t n : frames)
        if (n < 0 || n >= scene.frameCount)
            return "frame " + std::to_string(n) + " outside 0 to " + std::to_string(scene.frameCount - 1);
    return std::nullopt;
}

int describe(const SceneRequest& request) {
    Display display(platform::nullDriverGuid());
    Scene scene(directDraw, device);
    loadFromItsDirectory(scene, request.file);
    if (auto problem = frameOutside(scene, request.frames)) return failure("scene", *problem, exitBadInput);
    std::cout << describeScene(scene, versionOf(request.file), request.frames) << std::endl;
    return exitSuccess;
}

// The capture driver writes frame-000000.png into a private directory; the
// picture is then copied where it was asked for.
int render(const SceneRequest& request) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvor-inspect-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return failure("scene", "cannot create a temporary directory", exitBadInput);
    const std::filesystem::path frames = pattern;
    platform::setCaptureSink(platform::pngFrameSink(frames));
    int status = exitSuccess;
    {
        Display display(platform::captureDriverGuid());
        Scene scene(directDraw, device);
        loadFromItsDirectory(scene, request.file);
        if (auto problem = frameOutside(scene, {*request.renderFrame})) {
            status = failure("scene", *problem, exitBadInput);
        } else {
            Renderer& renderer = display.renderer;
            renderer.clear();
            renderer.setDefaultRenderStates();
            renderer.beginScene();
            scene.currentFrame = *request.renderFrame;
            drawSceneFrame(scene);
            renderer.endScene();
            renderer.flip();
        }
    }
    platform::setCaptureSink({});
    std::error_code error;
    if (status == exitSuccess)
        std::filesystem::copy_file(frames / platform::framePngName(0), request.png,
                                   std::filesystem::copy_options::overwrite_existing, error);
    std::filesystem::remove_all(frames);
    if (error) return failure("scene", "cannot write " + request.png.string() + ": " + error.message(), exitBadInput);
    return status;
}

}  // namespace

int inspectScene(const std::vector<std::string>& arguments) {
    SceneRequest request;
    if (const std::string problem = parseRequest(arguments, request); !problem.empty())
        return failure("scene", problem, exitUsage);
    // The scene opens "logFile.txt" in the current directory when no log is open.
    logOpen("/dev/null", nullptr);
    return request.renderFrame ? render(request) : describe(request);
}
