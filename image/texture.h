#pragma once
// A material's own texture: the file it names and the surface made from it.

#include <string>

#include "platform/directx.h"

class Texture {
public:
    explicit Texture(std::string name) : name(std::move(name)) {}

    std::string name;  // as the material gave it: case and directory kept
    IDirectDrawSurface7* surface = nullptr;
};
