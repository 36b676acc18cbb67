#pragma once
// Decoded images turned into texture surfaces in the renderer's formats:
// textureFormat (16-bit RGB) for opaque images, alphaTextureFormat (ARGB4444
// or 32-bit) for images with any alpha.

#include "image/image_loader.h"
#include "platform/directx.h"

// A surface of exactly the image's size holding its pixels; the loader is left
// empty. The caller owns the surface. A failure is a fatal stop.
IDirectDrawSurface7* createTexture(ImageLoader& loader);
// Whether any pixel has a non-zero alpha byte; false for an empty image.
bool hasAlpha(const ImageLoader& loader);
// Converts the pixels into the surface's format, row r at r x lPitch bytes. A
// surface of another size is a fatal stop; one in an unknown format is left as
// it is.
void copyPixels(const ImageLoader& loader, IDirectDrawSurface7* surface);
