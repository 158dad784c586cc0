// OpenGL 1.1 and GLU for the core. MinGW's gl.h would pull in the whole
// Windows header just for two calling-convention macros; define those
// here so that core files stay free of host headers.
#pragma once

#if defined(_WIN32) && !(defined(WINGDIAPI) && defined(APIENTRY))
#define APIENTRY __stdcall
#define WINGDIAPI __declspec(dllimport)
#endif

#include <GL/gl.h>
#include <GL/glu.h>
