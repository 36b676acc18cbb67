#include "bench/synthetic_frame.h"

#include <cmath>

namespace bench {

namespace {

constexpr size_t batchVertices = 498;  // the opaque batch flushes there

Texels checker(uint32_t size, uint16_t light, uint16_t dark, bool alpha) {
    Texels texels{size, size, alpha, std::vector<uint16_t>(size_t(size) * size)};
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) texels.pixels[y * size + x] = ((x / 8 + y / 8) % 2) ? light : dark;
    return texels;
}

// A grid of quads between two corners, two triangles each, counter-clockwise
// on screen, tiled by texture in batches.
void addGrid(std::vector<Batch>& batches, size_t texture, int columns, int rows,
             SceneVertex (*place)(float u, float v)) {
    std::vector<SceneVertex> vertices;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            float u0 = float(column) / columns, u1 = float(column + 1) / columns;
            float v0 = float(row) / rows, v1 = float(row + 1) / rows;
            for (auto [u, v] : {std::pair{u0, v0}, {u0, v1}, {u1, v1}, {u0, v0}, {u1, v1}, {u1, v0}})
                vertices.push_back(place(u, v));
        }
    }
    for (size_t first = 0; first < vertices.size(); first += batchVertices) {
        size_t last = std::min(vertices.size(), first + batchVertices);
        batches.push_back({texture, {vertices.begin() + first, vertices.begin() + last}});
    }
}

SceneVertex floorPoint(float u, float v) { return {-500 + 500 * u, -100, 900 - 880 * v, 0, 0, 1, u * 8, v * 8}; }
SceneVertex floorRight(float u, float v) { return {500 * u, -100, 900 - 880 * v, 0, 0, 1, u * 8, v * 8}; }
SceneVertex wallLeft(float u, float v) { return {-700 + 700 * u, 600 - 700 * v, 900, 0, 0, 1, u * 4, v * 4}; }
SceneVertex wallRight(float u, float v) { return {700 * u, 600 - 700 * v, 900, 0, 0, 1, u * 4, v * 4}; }
SceneVertex panel(float u, float v) {
    return {-150 + 300 * u, 120 - 200 * v, 300 + 40 * std::sin(u * 6.0f), 0, 0, 1, u * 2, v * 2};
}

std::array<D3DTLVERTEX, 4> titleQuad(float left, float top, float width, float height) {
    D3DCOLOR grey = 0x00808080;
    return {D3DTLVERTEX{left, top, 0, 1, grey, 0, 0, 0}, D3DTLVERTEX{left, top + height, 0, 1, grey, 0, 0, 1},
            D3DTLVERTEX{left + width, top + height, 0, 1, grey, 0, 1, 1},
            D3DTLVERTEX{left + width, top, 0, 1, grey, 0, 1, 0}};
}

}  // namespace

size_t SyntheticFrame::triangles() const {
    size_t vertices = 0;
    for (const auto* batches : {&opaque, &transparent})
        for (const Batch& batch : *batches) vertices += batch.vertices.size();
    return vertices / 3;
}

SyntheticFrame makeSyntheticFrame() {
    SyntheticFrame frame;
    frame.textures = {checker(64, 0xFFE0, 0x8410, false),  checker(64, 0x07FF, 0x0210, false),
                      checker(64, 0xF81F, 0x4008, false),  checker(64, 0xFFFF, 0x2104, false),
                      checker(64, 0x8FFF, 0x4F80, true),   checker(256, 0xF800, 0x0000, false),
                      checker(256, 0x07E0, 0x0000, false), checker(256, 0x001F, 0x0000, false)};
    addGrid(frame.opaque, 0, 15, 15, floorPoint);  // 450 triangles each
    addGrid(frame.opaque, 1, 15, 15, floorRight);
    addGrid(frame.opaque, 2, 15, 15, wallLeft);
    addGrid(frame.opaque, 3, 15, 15, wallRight);
    addGrid(frame.transparent, 4, 10, 10, panel);  // 200 triangles
    frame.overlays = {titleQuad(0, 0, 512, 384), titleQuad(64, 240, 512, 240), titleQuad(320, 240, 320, 240)};
    frame.overlayTextures = {5, 6, 7};
    return frame;
}

}  // namespace bench
