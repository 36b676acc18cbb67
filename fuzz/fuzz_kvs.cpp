// libFuzzer target: the scene load on any file, as the engine loads a scene
// (textures it names are looked for beside it and are absent).

#include "base/log.h"
#include "fuzz/declared_sizes.h"
#include "fuzz/fuzz_harness.h"
#include "scene/scene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The scene opens the log itself when none is open: keep it out of the directory.
    static const bool logOpened = (logOpen("/dev/null", nullptr), true);
    static_cast<void>(logOpened);
    if (sceneFrames(data, size) > largestFuzzedFrameCount) return -1;
    const std::string& path = FuzzHarness::instance().write({data, size}, "kvs");
    Scene scene(nullptr, nullptr);
    runToEnd([&] { scene.load(path.c_str(), nullptr); });
    return 0;
}
