#include "anim/tracks.h"

RollTrack rollTrackFrom(const RotationTrack& rotations) {
    RollTrack rolls;
    rolls.reserve(rotations.size());
    for (const Quaternion& rotation : rotations) rolls.push_back(rotation.x);
    return rolls;
}
