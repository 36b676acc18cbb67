#pragma once
// What the GL renderer makes ready before a frame needs it. A driver that
// generates its code at a program's first draw (Mesa's llvmpipe, for each
// combination of program, blending, depth test, texture format and sampling)
// would otherwise do it in the frame that first draws that way, and the frame
// comes late. So the renderer knows the kinds of draw (the states that change
// the generated code) and one texture of each kind of texture, and draws each
// pair once with no area where time is free: while a scene loads. Internal to
// the platform layer.

#include <memory>
#include <vector>

#include "platform/ddraw/ddraw_backend.h"

namespace platform {

// A vertex format with the states it is drawn under; no texture bound.
struct DrawKind {
    DWORD vertexFormat;
    DeviceState state;
};

class DrawKinds {
public:
    // Starts with what Direct3D 7 programs of the time draw most, with the
    // z-buffer on and bilinear magnification: models lit with one texture,
    // opaque or blended by its alpha, and pre-transformed quads added over
    // them. Each kind costs every kind of texture its code while loading, so
    // the list stays short; a kind not in it is learnt at its first draw.
    DrawKinds();

    // Remembers the kind of a draw; true when it was not known.
    bool learn(const DeviceState& state, DWORD vertexFormat);
    // Each known kind under the fog of state; the kinds that were not known.
    std::vector<DrawKind> learnFog(const DeviceState& state);
    const std::vector<DrawKind>& all() const { return kinds; }

private:
    std::vector<DrawKind> kinds;
    std::vector<std::vector<DWORD>> identities;  // of each kind, the states its code depends on
};

// One texture of each format and shape (a side a power of two or not), the
// texture's properties that its sampling code depends on. Held weakly: a
// texture released stands for its kind no more.
class TextureSamples {
public:
    // True when store is the first of its kind still alive.
    bool learn(const std::shared_ptr<SurfaceStore>& store);
    std::vector<std::shared_ptr<SurfaceStore>> alive() const;

private:
    std::vector<std::weak_ptr<SurfaceStore>> samples;
};

}  // namespace platform
