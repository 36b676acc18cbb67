#include "app/fatal.h"

#include <cstdlib>
#include <string>

#include "app/description_table.h"
#include "app/log.h"
#include "app/process_state.h"
#include "scene/scene.h"

namespace {

const char* fatalErrorText(int kind) {
    switch (kind) {
        case 0: return "error : not enough memory ";
        case 1: return "error : file not found";
        case 2: return "error : could not open file for writing";
        default: return nullptr;
    }
}

void releaseDevice() {
    if (device == nullptr) return;
    device->Release();
    device = nullptr;
}

void releaseDirectDraw() {
    if (directDraw == nullptr) return;
    directDraw->Release();
    directDraw = nullptr;
}

// When it is the rendering window, its procedure clears demoRunning.
void destroyMainWindow() {
    if (mainWindow == nullptr) return;
    SendMessageA(mainWindow, WM_DESTROY, 0, 0);
    DestroyWindow(mainWindow);
}

// The runtime's exit flushes and closes the log.
[[noreturn]] void releaseSceneAndExit() {
    if (registeredScene != nullptr) registeredScene->releaseOnFatal();
    std::exit(-1);
}

}  // namespace

void fatalError(int kind) {
    releaseDevice();
    releaseDirectDraw();
    if (const char* text = fatalErrorText(kind)) MessageBoxA(launcherWindow, text, "error", MB_ICONERROR);
    releaseSceneAndExit();
}

void fatalMessage(const char* text) {
    releaseDirectDraw();
    destroyMainWindow();
    MessageBoxA(nullptr, text, "error!", MB_ICONERROR);
    releaseSceneAndExit();
}

std::FILE* openOrFail(const char* path, const char* mode) {
    if (std::FILE* stream = std::fopen(nativePath(path).c_str(), mode)) return stream;
    logWrite2("error while opening  : ", path);
    logFlush();
    std::string message = std::string("cannot read") + (path ? path : "");
    fatalMessage(message.c_str());
}

void checkResult(HRESULT result, const char* operation) {
    const char* status = result < 0 ? " failed" : " success";
    logWrite2(operation, status);
    OutputDebugStringA(operation);
    OutputDebugStringA(status);
    OutputDebugStringA("\n");
    if (result >= 0) return;
    logFormat("%s", " cause : ");
    const char* description = findDescription(result);
    logWrite(description ? description : " don't know the reason");
    fatalMessage(operation);
}
