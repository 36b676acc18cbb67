#pragma once
// Decoded images turned into texture surfaces.

#include "image/image_loader.h"

// Whether any pixel has a non-zero alpha byte; false for an empty image.
bool hasAlpha(const ImageLoader& loader);
