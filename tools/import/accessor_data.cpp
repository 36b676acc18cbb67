#include "tools/import/accessor_data.h"

#include <algorithm>
#include <cstring>

namespace gltf_import {

namespace {

template <typename T>
T load(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

double component(const unsigned char* at, int type, bool normalized) {
    switch (type) {
        case TINYGLTF_COMPONENT_TYPE_FLOAT: return load<float>(at);
        case TINYGLTF_COMPONENT_TYPE_BYTE: {
            const double value = load<int8_t>(at);
            return normalized ? std::max(value / 127.0, -1.0) : value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: return load<uint8_t>(at) / (normalized ? 255.0 : 1.0);
        case TINYGLTF_COMPONENT_TYPE_SHORT: {
            const double value = load<int16_t>(at);
            return normalized ? std::max(value / 32767.0, -1.0) : value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: return load<uint16_t>(at) / (normalized ? 65535.0 : 1.0);
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: return load<uint32_t>(at) / (normalized ? 4294967295.0 : 1.0);
        default: return 0.0;
    }
}

// Calls take(element, component, address) for each component read.
template <typename Take>
void walk(const tinygltf::Model& model, const tinygltf::Accessor& accessor, int components, Take take) {
    if (accessor.bufferView < 0) return;
    const tinygltf::BufferView& view = model.bufferViews[static_cast<size_t>(accessor.bufferView)];
    const size_t size =
        static_cast<size_t>(tinygltf::GetComponentSizeInBytes(static_cast<uint32_t>(accessor.componentType)));
    const int available = tinygltf::GetNumComponentsInType(static_cast<uint32_t>(accessor.type));
    const size_t stride = view.byteStride != 0 ? view.byteStride : size * static_cast<size_t>(available);
    const unsigned char* base =
        model.buffers[static_cast<size_t>(view.buffer)].data.data() + view.byteOffset + accessor.byteOffset;
    const int used = std::min(components, available);
    for (size_t e = 0; e < accessor.count; ++e)
        for (int c = 0; c < used; ++c) take(e, c, base + e * stride + static_cast<size_t>(c) * size);
}

}  // namespace

std::vector<float> readFloats(const tinygltf::Model& model, int index, int components) {
    const tinygltf::Accessor& accessor = model.accessors[static_cast<size_t>(index)];
    std::vector<float> values(accessor.count * static_cast<size_t>(components), 0.0f);
    walk(model, accessor, components, [&](size_t e, int c, const unsigned char* at) {
        values[e * static_cast<size_t>(components) + static_cast<size_t>(c)] =
            static_cast<float>(component(at, accessor.componentType, accessor.normalized));
    });
    return values;
}

std::vector<uint32_t> readIndices(const tinygltf::Model& model, int index) {
    const tinygltf::Accessor& accessor = model.accessors[static_cast<size_t>(index)];
    std::vector<uint32_t> values(accessor.count, 0);
    walk(model, accessor, 1, [&](size_t e, int, const unsigned char* at) {
        values[e] = static_cast<uint32_t>(component(at, accessor.componentType, false));
    });
    return values;
}

}  // namespace gltf_import
