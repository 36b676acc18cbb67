#pragma once
// The OpenGL API the renderer speaks: what OpenGL 3.3 core and OpenGL ES 3.0
// have in common. The build puts the headers of its system on the include
// path (gl_api/desktop or gl_api/es). Only the gl_ files include this.

#include <gl_api.h>
