#include <GL/gl.h>

#include "die.h"
#include "palette.h"
#include "scene.h"
#include "viewer.h"

void initScene() {
    glClearColor(VIEWER_BACKGROUND, VIEWER_BACKGROUND, VIEWER_BACKGROUND, 0.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHT2);

    // Directional lights given while the modelview matrix is the identity: they stay fixed
    // to the viewer whatever the die and the view do.
    const GLfloat green[4] = {1, 1, 1, 0};
    const GLfloat blue[4] = {-1, 1, 1, 0};
    const GLfloat red[4] = {0, -1, 1, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, green);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, paletteGreen());
    glLightfv(GL_LIGHT1, GL_POSITION, blue);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, paletteBlue());
    glLightfv(GL_LIGHT2, GL_POSITION, red);
    glLightfv(GL_LIGHT2, GL_DIFFUSE, paletteRed());

    buildDieTextures();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
}
