#pragma once
// OpenGL ES 3.0, which a browser's WebGL 2 context provides.

#include <GLES3/gl3.h>

// WebGL 2 has no border colour: a texture addressed with D3DTADDRESS_BORDER
// repeats its edge texels instead of the transparent black border.
#define GL_CLAMP_TO_BORDER GL_CLAMP_TO_EDGE
