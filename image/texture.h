#pragma once
// A material's own texture: the file it names and the surface made from it.

#include <string>

#include "platform/directx.h"

class FileName;

class Texture {
public:
    explicit Texture(std::string name) : name(std::move(name)) {}
    // Releases the surface. Safe after the DirectDraw object has gone, as the
    // demo's teardown does it: a surface keeps working until its own release.
    virtual ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Decodes the file with the loader its extension selects, stamps opacity
    // into the alpha of TGA and JPEG images, and makes the surface. An
    // unrecognised extension is a fatal stop; so is a file that cannot be read,
    // through the surface creation.
    void load(float opacity);

    std::string name;  // as the material gave it: case and directory kept
    IDirectDrawSurface7* surface = nullptr;

private:
    const char* jpegFile(const FileName& parts) const;
};
