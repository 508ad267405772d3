// The GL state the die is drawn in, set once the context exists.
#pragma once

// Puts the current GL context into the state the die is drawn in: grey background, depth
// test, three coloured directional lights fixed to the viewer, nearest-texel texturing.
void initScene();
