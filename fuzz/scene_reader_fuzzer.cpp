// Feeds arbitrary bytes to the scene load. A fatal stop ends one input (the
// message box throws instead of the process exiting); anything else the
// sanitizers catch is a fault of the reader.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/log.h"
#include "platform/hooks.h"
#include "scene/scene.h"

namespace {

struct FatalStop {};

// The input lives in an anonymous memory file, reopened by path as the engine
// opens scene files.
class InputFile {
public:
    InputFile() : descriptor(memfd_create("scene.kvs", 0)), path("/proc/self/fd/" + std::to_string(descriptor)) {}
    ~InputFile() { close(descriptor); }
    void fill(const uint8_t* data, size_t size) {
        ftruncate(descriptor, 0);
        for (size_t written = 0; written < size;) {
            const ssize_t chunk = pwrite(descriptor, data + written, size - written, static_cast<off_t>(written));
            if (chunk <= 0) return;
            written += static_cast<size_t>(chunk);
        }
    }
    const char* name() const { return path.c_str(); }

private:
    int descriptor;
    std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    logOpen("/dev/null", nullptr);
    platform::setMessageBoxHook([](std::string_view, std::string_view) { throw FatalStop{}; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static InputFile input;
    input.fill(data, size);
    Scene scene(nullptr, nullptr);
    try {
        scene.load(input.name(), nullptr);
    } catch (const FatalStop&) {
    }
    return 0;
}
