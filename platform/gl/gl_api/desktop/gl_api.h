#pragma once
// OpenGL 3.3 core through the vendor-neutral dispatch library, which serves the
// EGL and the GLX (SDL) contexts alike.

// The Win32 types first: they define APIENTRY, which GL's headers then keep.
#include "platform/win32/win32_types.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
