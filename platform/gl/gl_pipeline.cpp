#include "platform/gl/gl_pipeline.h"

namespace platform {

namespace {

GLenum comparisonOf(DWORD function) {
    switch (function) {
        case D3DCMP_NEVER: return GL_NEVER;
        case D3DCMP_LESS: return GL_LESS;
        case D3DCMP_EQUAL: return GL_EQUAL;
        case D3DCMP_GREATER: return GL_GREATER;
        case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
        case D3DCMP_ALWAYS: return GL_ALWAYS;
        default: return GL_LEQUAL;
    }
}

GLenum factorOf(DWORD blend) {
    switch (blend) {
        case D3DBLEND_ZERO: return GL_ZERO;
        case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
        default: return GL_ONE;
    }
}

void enable(GLenum capability, bool on) { on ? glEnable(capability) : glDisable(capability); }

}  // namespace

// Without a z-buffer there is neither test nor write, whatever the states say.
void applyDepthState(const DeviceState& state) {
    bool enabled = state.depthBuffer != nullptr && state.renderStates[D3DRENDERSTATE_ZENABLE] != D3DZB_FALSE;
    enable(GL_DEPTH_TEST, enabled);
    glDepthFunc(comparisonOf(state.renderStates[D3DRENDERSTATE_ZFUNC]));
    glDepthMask(enabled && state.renderStates[D3DRENDERSTATE_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
}

// BOTHSRCALPHA and BOTHINVSRCALPHA set both factors from the source one.
void applyBlendState(const DeviceState& state) {
    enable(GL_BLEND, state.renderStates[D3DRENDERSTATE_ALPHABLENDENABLE] != FALSE);
    DWORD source = state.renderStates[D3DRENDERSTATE_SRCBLEND];
    DWORD destination = state.renderStates[D3DRENDERSTATE_DESTBLEND];
    if (source == D3DBLEND_BOTHSRCALPHA) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else if (source == D3DBLEND_BOTHINVSRCALPHA) {
        glBlendFunc(GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
    } else {
        glBlendFunc(factorOf(source), factorOf(destination));
    }
    enable(GL_DITHER, state.renderStates[D3DRENDERSTATE_DITHERENABLE] != FALSE);
}

// Both name the winding seen on the picture: D3DCULL_CW removes what turns
// clockwise there, so GL keeps counter-clockwise faces as its front.
void applyCullState(const DeviceState& state) {
    DWORD mode = state.renderStates[D3DRENDERSTATE_CULLMODE];
    enable(GL_CULL_FACE, mode == D3DCULL_CW || mode == D3DCULL_CCW);
    glCullFace(GL_BACK);
    glFrontFace(mode == D3DCULL_CW ? GL_CCW : GL_CW);
}

void unpackColour(D3DCOLOR colour, GLfloat channels[4]) {
    channels[0] = ((colour >> 16) & 0xFF) / 255.0f;
    channels[1] = ((colour >> 8) & 0xFF) / 255.0f;
    channels[2] = (colour & 0xFF) / 255.0f;
    channels[3] = (colour >> 24) / 255.0f;
}

}  // namespace platform
