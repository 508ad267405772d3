// The web page's side of platform.h: the state told to the page (page/, through program.js).
// GLUT for the page is glut.cpp, and the fixed-function pipeline over WebGL gl.cpp.
#include <GL/gl.h>
#include <emscripten.h>

#include "platform.h"

namespace {

// The JavaScript inside EM_JS is no C++: clang-format's versions lay it out differently.
// clang-format off
EM_JS(void, pageState, (int animating, int filled), {
    tellPage([ 'state', !!animating, !!filled ]);
});
// clang-format on

}  // namespace

void platformWindowCreated(void (*)(bool)) {
    // WebGL has no default texture object: bind one for good, and the per-face uploads and
    // the filtering set by the scene all go to it. A hidden page's timers and frames are
    // already throttled by the browser.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void platformStateChanged(bool animating, bool filled) { pageState(animating, filled); }
