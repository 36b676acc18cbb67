// libFuzzer target: a whole datas folder from one archive (a scene and the
// textures it names, see datas_archive.h), loaded from inside the folder as
// the demo loads it, textures made into surfaces on the null driver.

#include <filesystem>

#include "base/display_request.h"
#include "base/log.h"
#include "base/process_state.h"
#include "fuzz/datas_archive.h"
#include "fuzz/declared_sizes.h"
#include "fuzz/fuzz_harness.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"
#include "scene/scene.h"

namespace {

// The null driver's display, brought up once as the demo does. A fatal stop
// releases the device and the DirectDraw object: the references kept here
// keep both alive, and they are handed back for the next input.
void bringUpDisplay() {
    static Renderer renderer;
    static IDirectDraw7* keptDirectDraw = nullptr;
    static IDirect3DDevice7* keptDevice = nullptr;
    if (keptDevice == nullptr) {
        logOpen("/dev/null", nullptr);
        deviceGuid = &platform::nullDriverGuid();
        requestDemoDisplay(0);
        renderer.setUp();
        keptDirectDraw = directDraw;
        keptDevice = device;
        keptDirectDraw->AddRef();
        keptDevice->AddRef();
    }
    if (directDraw == nullptr) {
        directDraw = keptDirectDraw;
        directDraw->AddRef();
    }
    if (device == nullptr) {
        device = keptDevice;
        device->AddRef();
    }
}

bool affordable(const std::vector<DatasEntry>& entries) {
    const std::vector<uint8_t>& scene = entries.front().bytes;
    if (sceneFrames(scene.data(), scene.size()) > largestFuzzedFrameCount) return false;
    for (const DatasEntry& entry : entries)
        if (texturePixels(entry.name, entry.bytes.data(), entry.bytes.size()) > largestFuzzedPixelCount) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto entries = unpackDatas({data, size});
    if (!entries || !affordable(*entries)) return -1;
    bringUpDisplay();
    const std::filesystem::path folder = FuzzHarness::instance().emptyFolder("datas");
    writeDatas(*entries, folder);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    {
        Scene scene(directDraw, device);
        runToEnd([&] { scene.load(entries->front().name.c_str(), nullptr); });
    }
    std::filesystem::current_path(before);
    platform::clearNullDriverCalls();  // the driver keeps a record of every call
    return 0;
}
