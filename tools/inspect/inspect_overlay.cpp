// kvor-inspect overlay: the corner tables an effect fills and the quads that
// draw makes of them on a 640 x 480 display, as JSON.

#include <iostream>
#include <optional>

#include "base/log.h"
#include "overlay/overlay.h"
#include "overlay/overlay_effects.h"
#include "platform/tool_interface.h"
#include "tools/inspect/command_line.h"
#include "tools/inspect/inspect_display.h"
#include "tools/inspect/json_writer.h"
#include "tools/inspect/subcommands.h"

namespace {

struct NamedEffect {
    const char* name;
    void (*effect)(Overlay&);  // null: the default layout alone
};

constexpr NamedEffect effects[] = {
    {"defaultPath", nullptr},
    {"fadePanel", fadePanel},
    {"fadeSkewed", fadeSkewed},
    {"pulseTopLeft", pulseTopLeft},
    {"pulseBottomRight", pulseBottomRight},
    {"swingVertical", swingVertical},
    {"fadeInBottom", fadeInBottom},
};

struct OverlayRequest {
    const NamedEffect* effect = nullptr;
    int32_t duration = 0;
    int32_t start = 0;
    std::vector<int32_t> frames;
};

const NamedEffect* effectNamed(const std::string& name) {
    for (const NamedEffect& effect : effects)
        if (name == effect.name) return &effect;
    return nullptr;
}

// "--frame F" may repeat, so it is taken out before the other options.
std::string parseRequest(std::vector<std::string> arguments, OverlayRequest& request) {
    if (!takeRepeatedNumbers(arguments, "--frame", request.frames)) return "--frame needs a frame index";
    const CommandLine line = parseCommandLine(arguments, {"--duration", "--start"});
    if (!line.error.empty()) return line.error;
    if (line.positional.size() != 1) return "expected one EFFECT";
    request.effect = effectNamed(line.positional[0]);
    if (request.effect == nullptr) return "unknown effect " + line.positional[0];
    if (!line.options.contains("--duration")) return "--duration is required";
    const auto duration = parseNumber<int32_t>(line.options.at("--duration"));
    if (!duration) return "--duration needs a number of frames";
    request.duration = *duration;
    if (line.options.contains("--start")) {
        const auto start = parseNumber<int32_t>(line.options.at("--start"));
        if (!start) return "--start needs a frame index";
        request.start = *start;
    }
    return {};
}

void writeEntries(JsonWriter& json, const Overlay& overlay) {
    json.key("entries").beginArray();
    for (int32_t j = 0; j < overlay.entryCount(); ++j) {
        json.beginArray();
        for (const CornerTable& table : overlay.corners) {
            const CornerEntry& entry = table[static_cast<size_t>(j)];
            json.beginArray().value(entry.x).value(entry.y).value(int64_t{entry.colour}).endArray();
        }
        json.endArray();
    }
    json.endArray();
}

// What the device was given by one draw: its four vertices, or null.
void writeDraw(JsonWriter& json, Overlay& overlay, int32_t frame) {
    platform::clearNullDriverCalls();
    overlay.draw(frame);
    json.beginObject().key("frame").value(int64_t{frame}).key("vertices");
    std::optional<std::vector<D3DTLVERTEX>> drawn;
    for (const platform::RecordedCall& call : platform::nullDriverCalls())
        if (call.method == "DrawIndexedPrimitive") drawn = call.payloadAs<D3DTLVERTEX>();
    if (!drawn) {
        json.null().endObject();
        return;
    }
    json.beginArray();
    for (size_t k = 0; k < 4; ++k) {
        const D3DTLVERTEX& vertex = drawn->at(k);
        json.beginArray().value(vertex.sx).value(vertex.sy).value(int64_t{vertex.color}).endArray();
    }
    json.endArray().endObject();
}

int describe(const OverlayRequest& request) {
    Display display(platform::nullDriverGuid());
    Overlay overlay;
    overlay.duration = request.duration;
    overlay.startFrame = request.start;
    overlay.allocateCornerTables();
    overlay.defaultPath();
    if (request.effect->effect != nullptr) request.effect->effect(overlay);
    JsonWriter json;
    json.beginObject().key("effect").value(request.effect->name);
    json.key("duration").value(int64_t{request.duration}).key("start").value(int64_t{request.start});
    writeEntries(json, overlay);
    json.key("draws").beginArray();
    for (int32_t frame : request.frames) writeDraw(json, overlay, frame);
    json.endArray().endObject();
    std::cout << json.text() << std::endl;
    return exitSuccess;
}

}  // namespace

int inspectOverlay(const std::vector<std::string>& arguments) {
    OverlayRequest request;
    if (const std::string problem = parseRequest(arguments, request); !problem.empty())
        return failure("overlay", problem, exitUsage);
    logOpen("/dev/null", nullptr);
    return describe(request);
}
