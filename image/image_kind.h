#pragma once
// Which loader reads a texture file, decided by the name's extension alone.

#include <memory>

#include "image/file_name.h"
#include "image/image_loader.h"

enum class ImageKind { tga, zkv, jpeg, unrecognized };

// "tga" and "bmp" (names ending in bmp hold TGA data), "zkv", "jpg"; the
// extension is already lower case, so Wall.TGA is a TGA too. "jpeg" is not
// recognised.
ImageKind imageKindOf(const FileName& name);

// A new loader of that kind; null for an unrecognised kind.
std::unique_ptr<ImageLoader> makeLoader(ImageKind kind);
