#include "base/fatal.h"

#include <cstdlib>

#include "base/process_state.h"

Scene* registeredScene = nullptr;

namespace {

SceneRelease sceneRelease = nullptr;

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
    if (registeredScene != nullptr && sceneRelease != nullptr) sceneRelease(*registeredScene);
    std::exit(-1);
}

}  // namespace

void setSceneRelease(SceneRelease release) { sceneRelease = release; }

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
