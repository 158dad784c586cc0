// OpenGL 1.1 and GLU for the core. MinGW's gl.h would pull in the whole
// Windows header just for its calling-convention macros; lend it those
// here, for the two includes only, so core files stay free of host headers.
#pragma once

#if defined(_WIN32) && !(defined(WINGDIAPI) && defined(APIENTRY))
#define APIENTRY __stdcall
#define WINGDIAPI __declspec(dllimport)
#define CALLBACK __stdcall
#define VIEW_GL_LENT_MACROS
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef VIEW_GL_LENT_MACROS
#undef APIENTRY
#undef WINGDIAPI
#undef CALLBACK
#undef VIEW_GL_LENT_MACROS
#endif
