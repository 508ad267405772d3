// What the desktops, X11 and Windows, share: the plain OpenGL 1.1 calls (polygon mode, quads), and
// no page to tell the viewer's state to.
#include "platform.h"

void platformPolygonMode(GLenum mode) { glPolygonMode(GL_FRONT_AND_BACK, mode); }

GLenum platformFacePrimitive() { return GL_QUADS; }

void platformStateChanged(bool, bool) {}
