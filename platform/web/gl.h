// The page's fixed-function calls over WebGL (gl.cpp) are GL's own names; what GLUT for the page
// needs of them besides is here.
#pragma once

// Whether a frame can be drawn without waiting: false while the browser still links the page's
// shaders, where it can say so (KHR_parallel_shader_compile); true from then on, and always
// where it cannot.
bool webGlReady();

// Device pixels per CSS pixel: line widths are in CSS pixels, so that a line is as heavy beside
// the die at any density as it is on the desktop.
void webGlSetDensity(float density);
