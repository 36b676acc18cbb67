#pragma once
// One scene played alone, as a part of the show draws it (its camera, fog and
// transparency), from its frame 0 to its last, without titles or music.

#include "app/show.h"

// The part that plays scene once through from its frame 0.
ShowPart sceneAlonePart(Scene& scene);

// Sets up the display as the demo does, changes into the scene file's folder
// (its textures are found there as the show finds its own in datas), loads
// the scene, plays it once and tears down; returns 0. Escape ends it early.
int runSceneAlone(const char* sceneFile);
