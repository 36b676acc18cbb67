#include "platform/ddraw/vertex_format.h"

namespace platform {

bool validVertexFormat(DWORD vertexFormat) {
    constexpr DWORD known = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_RESERVED1 | D3DFVF_DIFFUSE | D3DFVF_SPECULAR |
                            D3DFVF_TEXCOUNT_MASK;
    if (vertexFormat & ~known) return false;  // blend weights' neighbours, odd texture coordinate sizes
    DWORD position = vertexFormat & D3DFVF_POSITION_MASK;
    if (position != D3DFVF_XYZ && position != D3DFVF_XYZRHW) return false;
    if (position == D3DFVF_XYZRHW && (vertexFormat & D3DFVF_NORMAL)) return false;
    return ((vertexFormat & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT) <= D3DDP_MAXTEXCOORD;
}

VertexLayout vertexLayout(DWORD vertexFormat) {
    VertexLayout layout{};
    layout.transformed = (vertexFormat & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
    int offset = 3 * sizeof(float);
    auto take = [&offset](int& field, int size) {
        field = offset;
        offset += size;
    };
    if (layout.transformed) take(layout.rhw, sizeof(float));
    if (vertexFormat & D3DFVF_NORMAL) take(layout.normal, 3 * sizeof(float));
    if (vertexFormat & D3DFVF_RESERVED1) offset += sizeof(DWORD);
    if (vertexFormat & D3DFVF_DIFFUSE) take(layout.diffuse, sizeof(D3DCOLOR));
    if (vertexFormat & D3DFVF_SPECULAR) take(layout.specular, sizeof(D3DCOLOR));
    DWORD pairs = (vertexFormat & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (pairs > 0) layout.texture = offset;
    offset += static_cast<int>(pairs * 2 * sizeof(float));
    layout.stride = static_cast<DWORD>(offset);
    return layout;
}

}  // namespace platform
