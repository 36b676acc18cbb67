// Object headers and mesh records of the scene file.

#include "base/log.h"
#include "platform/win32.h"
#include "scene/kvs_flags.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"

namespace {

using namespace kvs_flags;

constexpr size_t vertexSize = 12;        // a point
constexpr size_t faceSize = 14;          // three int32 vertex indices, a uint16 sub-material
constexpr size_t textureVertexSize = 8;  // u, v
constexpr size_t textureFaceSize = 12;   // three int32 texture-vertex indices

std::string indexProblem(const char* what, int64_t index, int64_t limit) {
    return std::string(what) + " " + std::to_string(index) + " outside 0 to " + std::to_string(limit - 1);
}

}  // namespace

void SceneReader::readObjectHeader(SceneObject& object, uint8_t& flagsOut) {
    recordOffsets.emplace_back(&object, offset);
    object.name = readString("object name");
    flagsOut = readUint8("object flags");
    if (flagsOut & hasParent) {
        object.parentName = readString("parent name");
        logFormat("%s", object.parentName->c_str());
    }
    object.tag = readInt16("object tag");
    object.restRotation = readRotation("object rotation");
    object.rotation = object.restRotation;
    object.position = readPoint("object position");
    object.restPosition = readPoint("object rest position");
    logWrite(object.name.c_str());
}

void SceneReader::readMesh() {
    Mesh& mesh = *scene.adopt(std::make_unique<Mesh>());
    append(mesh, kindMesh);
    uint8_t flags = 0;
    readObjectHeader(mesh, flags);
    mesh.textured = (flags & texturedMesh) ? 1 : 0;
    mesh.spareFlag3 = (flags & meshSpareFlag3) ? 1 : 0;
    mesh.spareFlag4 = (flags & meshSpareFlag4) ? 1 : 0;
    if (mesh.textured) {
        mesh.materialIndex = static_cast<uint16_t>(readInt32("material index"));
        OutputDebugStringA("objet textur\xE9\n");
        if (mesh.materialIndex >= scene.materials->setCount)
            fail(indexProblem("material index", mesh.materialIndex, scene.materials->setCount));
    } else {
        const float red = readFloat32("flat colour");
        const float green = readFloat32("flat colour");
        mesh.setFlatColour({red, green, readFloat32("flat colour")});
    }
    const int32_t vertexCount = readCount("vertex count", vertexSize);
    logFormat("nbVertex : %d\n", vertexCount);
    mesh.allocateVertices(vertexCount);
    for (Vector3& vertex : mesh.baseVertices) vertex = readPoint("vertex");
    readFaces(mesh);
    readTextureCoordinates(mesh);
    if (readAnimation(mesh.positionTrack, mesh.rotationTrack)) mesh.animated = 1;
}

void SceneReader::readFaces(Mesh& mesh) {
    mesh.allocateFaces(readCount("face count", faceSize));
    for (Face& face : mesh.faces) {
        const size_t start = offset;
        for (Vector3*& corner : face.corners) {
            const int32_t index = readInt32("face vertex index");
            if (index < 0 || index >= mesh.vertexCount)
                failAt(start, indexProblem("face vertex index", index, mesh.vertexCount));
            corner = &mesh.vertices[static_cast<size_t>(index)];
        }
        const auto sub = static_cast<uint16_t>(readInt16("sub-material index"));
        if (!mesh.textured) continue;
        face.material = scene.materials->material(mesh.materialIndex, sub);
        if (face.material == nullptr)
            failAt(start, "sub-material index " + std::to_string(sub) + " beyond the materials of set " +
                              std::to_string(mesh.materialIndex));
    }
}

// Coordinates are gathered in a table, then each face picks its three.
void SceneReader::readTextureCoordinates(Mesh& mesh) {
    const int32_t count = readCount("texture vertex count", textureVertexSize);
    if (count == 0) return;
    std::vector<Vector3> table(static_cast<size_t>(count));
    for (Vector3& uv : table) {
        uv.x = readFloat32("texture vertex");
        uv.y = readFloat32("texture vertex");
    }
    skipBytes(4, "texture vertex padding");
    checkCount("face count", mesh.faceCount, textureFaceSize);
    for (Face& face : mesh.faces) {
        const size_t start = offset;
        for (int corner = 0; corner < 3; ++corner) {
            const int32_t index = readInt32("texture face index");
            if (index < 0 || index >= count) failAt(start, indexProblem("texture face index", index, count));
            face.u[corner] = table[static_cast<size_t>(index)].x;
            face.v[corner] = table[static_cast<size_t>(index)].y;
        }
    }
}
