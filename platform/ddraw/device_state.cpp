#include "platform/ddraw/bit_cast.h"
#include "platform/ddraw/ddraw_backend.h"

namespace platform {

namespace {

D3DMATRIX identity() {
    D3DMATRIX matrix{};
    matrix._11 = matrix._22 = matrix._33 = matrix._44 = 1.0f;
    return matrix;
}

void setRenderStateDefaults(std::array<DWORD, D3D_MAXRENDERSTATES>& states) {
    auto set = [&states](D3DRENDERSTATETYPE state, DWORD value) { states[state] = value; };
    set(D3DRENDERSTATE_TEXTUREPERSPECTIVE, TRUE);
    set(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);  // no z-buffer was attached when the device was made
    set(D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID);
    set(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
    set(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
    set(D3DRENDERSTATE_LASTPIXEL, TRUE);
    set(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    set(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ZERO);
    set(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    set(D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL);
    set(D3DRENDERSTATE_ALPHAFUNC, D3DCMP_ALWAYS);
    set(D3DRENDERSTATE_FOGSTART, bitCast<DWORD>(0.0f));
    set(D3DRENDERSTATE_FOGEND, bitCast<DWORD>(1.0f));
    set(D3DRENDERSTATE_FOGDENSITY, bitCast<DWORD>(1.0f));
    set(D3DRENDERSTATE_TEXTUREFACTOR, 0xFFFFFFFF);
    set(D3DRENDERSTATE_CLIPPING, TRUE);
    set(D3DRENDERSTATE_LIGHTING, TRUE);
    set(D3DRENDERSTATE_COLORVERTEX, TRUE);
    set(D3DRENDERSTATE_LOCALVIEWER, TRUE);
    set(D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    set(D3DRENDERSTATE_SPECULARMATERIALSOURCE, D3DMCS_COLOR2);
    set(D3DRENDERSTATE_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    set(D3DRENDERSTATE_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
}

// Stage 0 modulates the texture by the diffuse colour and takes the texture's
// alpha; the later stages start disabled.
void setStageDefaults(std::array<DWORD, D3D_MAXTEXTURESTAGESTATES>& stage, DWORD index) {
    stage[D3DTSS_COLOROP] = index == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    stage[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    stage[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    stage[D3DTSS_ALPHAOP] = index == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    stage[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    stage[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    stage[D3DTSS_TEXCOORDINDEX] = index;
    stage[D3DTSS_ADDRESS] = stage[D3DTSS_ADDRESSU] = stage[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
    stage[D3DTSS_MAGFILTER] = D3DTFG_POINT;
    stage[D3DTSS_MINFILTER] = D3DTFN_POINT;
    stage[D3DTSS_MIPFILTER] = D3DTFP_NONE;
}

}  // namespace

DeviceState::DeviceState() : world(identity()), view(identity()), projection(identity()) {
    setRenderStateDefaults(renderStates);
    for (DWORD index = 0; index < D3DDP_MAXTEXCOORD; ++index) setStageDefaults(stageStates[index], index);
}

float DeviceState::renderStateFloat(D3DRENDERSTATETYPE state) const {
    return bitCast<float>(renderStates[state]);
}

}  // namespace platform
