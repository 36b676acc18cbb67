#pragma once
// The solids the demo scenes are made of, added to a mesh under construction.
// Texture u runs along a shape's length or around it, v across.

#include "tools/make_datas/mesh_builder.h"

namespace datas {

// Steps of a tessellation at a level of detail (1 is full), never below minimum.
int steps(int full, float detail, int minimum = 3);

// A torus in the plane through centre spanned by x and z of its own frame,
// with ring radius ring and tube radius tube; u goes round the ring uRepeat
// times, v once round the tube.
void addTorus(MeshBuilder& mesh, const Vector3& centre, float ring, float tube, int ringSteps, int tubeSteps,
              float uRepeat);
// A (p, q) torus knot: a tube of radius tube around a curve winding p times
// round the axis and q times through the hole of a torus of radius ring.
void addTorusKnot(MeshBuilder& mesh, const Vector3& centre, int p, int q, float ring, float tube, int curveSteps,
                  int tubeSteps, float uRepeat);
// An upright cylinder from base up to base + height, open at both ends, with
// faces outward (or inward, seen from within).
void addCylinder(MeshBuilder& mesh, const Vector3& base, float radius, float height, int steps, float uRepeat,
                 float vRepeat, uint16_t subMaterial = 0);
// An axis-aligned box; texture repeats every textureSize units on each face.
// inward makes a room: faces seen from inside.
void addBox(MeshBuilder& mesh, const Vector3& low, const Vector3& high, float textureSize, bool inward,
            uint16_t subMaterial = 0);

}  // namespace datas
