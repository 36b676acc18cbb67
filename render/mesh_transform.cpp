#include "render/mesh_transform.h"

#include "render/track_value.h"

namespace {

// Each case keeps the order of operations of its formula, so that results
// agree to the bit with the formula as written.
void turnAndMove(Mesh& mesh, const Matrix4& turn, const Vector3& moved, const Vector3& eye, const Matrix4& view) {
    const Vector3 pivot = mesh.restPosition;
    for (size_t i = 0; i < mesh.baseVertices.size(); ++i)
        mesh.vertices[i] = (((mesh.baseVertices[i] - pivot).transformed(turn) + moved) - eye).transformed(view);
}

void offset(Mesh& mesh, const Vector3& offset, const Matrix4& view) {
    for (size_t i = 0; i < mesh.baseVertices.size(); ++i)
        mesh.vertices[i] = (mesh.baseVertices[i] + offset).transformed(view);
}

void relativeToEye(Mesh& mesh, const Vector3& eye, const Matrix4& view) {
    for (size_t i = 0; i < mesh.baseVertices.size(); ++i)
        mesh.vertices[i] = (mesh.baseVertices[i] - eye).transformed(view);
}

}  // namespace

void transformMesh(Mesh& mesh, int32_t frame, const Camera& camera) {
    const Matrix4 view = camera.rotation;
    const Vector3 eye = camera.position;
    const bool turning = frame >= 0 && static_cast<size_t>(frame) < mesh.rotationTrack.size();
    const bool moving = frame >= 0 && static_cast<size_t>(frame) < mesh.positionTrack.size();
    if (turning) {
        Matrix4 turn;
        turn.setFromQuaternion(mesh.rotationTrack[static_cast<size_t>(frame)]);
        turnAndMove(mesh, turn, trackValue(mesh.positionTrack, frame, mesh.restPosition), eye, view);
    } else if (moving) {
        offset(mesh, (mesh.positionTrack[static_cast<size_t>(frame)] - mesh.restPosition) - eye, view);
    } else {
        relativeToEye(mesh, eye, view);
    }
}
