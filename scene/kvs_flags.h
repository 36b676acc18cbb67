#pragma once
// The flag bytes of a .kvs scene file, shared by the reader and the content
// tools' writer.

#include <cstdint>

namespace kvs_flags {

// An object header's flags byte; a mesh record reads bits of its own from it.
constexpr uint8_t hasParent = 0x01;
constexpr uint8_t texturedMesh = 0x02;
constexpr uint8_t meshSpareFlag3 = 0x08;
constexpr uint8_t meshSpareFlag4 = 0x10;

// An animation block: its kind, then for a sampled one track entries whose
// flags byte says which tracks follow, until the end byte.
constexpr uint8_t noAnimation = 0;
constexpr uint8_t sampledAnimation = 2;
constexpr uint8_t hasPositionTrack = 0x01;
constexpr uint8_t hasRotationTrack = 0x02;
constexpr uint8_t endOfTrackList = 0x80;

// The environment record.
constexpr uint8_t environmentHasName = 0x01;
constexpr uint8_t environmentWithoutColour = 0x02;
constexpr uint8_t environmentWithoutAmbient = 0x04;

// The fog record.
constexpr uint8_t fogOn = 0x01;
constexpr uint8_t fogExponential = 0x02;
constexpr uint8_t fogSquared = 0x04;

}  // namespace kvs_flags
