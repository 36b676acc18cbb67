#pragma once
// Fatal stops: the program cannot go on. Each releases the display, shows a
// message box, releases the registered scene and ends the process with -1.

#include "platform/win32.h"

class Scene;

// The scene that a fatal stop releases: the one given to the latest logOpen.
extern Scene* registeredScene;

// How a fatal stop has the registered scene release its contents. The scene
// installs it when it registers itself: this floor knows no scene.
using SceneRelease = void (*)(Scene& scene);
void setSceneRelease(SceneRelease release);

// Kinds: 0 out of memory, 1 file not found, 2 cannot write; others show no box.
[[noreturn]] void fatalError(int kind);
[[noreturn]] void fatalMessage(const char* text);
