#pragma once
// Placing the scene's camera for a frame: its position and the rotation that
// carries world offsets into camera space.

#include <cstdint>

#include "scene/camera.h"

// Kind 2 and 3 only; any other camera keeps its position and rotation.
void updateCamera(Camera& camera, int32_t frame);
void updateFreeCamera(Camera& camera, int32_t frame);
void updateTargetCamera(TargetCamera& camera, int32_t frame);
