// The die viewer: its constants, start-up, the frame, the spin and the application's own keys
// (space stops and resumes the spin, Enter switches between filled faces and outlines). The
// die's model is die.h, the GL scene with its three coloured lights scene.h, the command line
// command_line.h.
// Angles are degrees; window coordinates are pixels with y growing downwards; world units
// are those of the 7 x 7 viewing box centred on the origin.
#pragma once

// ---- Constants of the program ------------------------------------------------------------

constexpr int VIEWER_WINDOW_SIZE = 250;               // pixels, width and height at start-up
constexpr int VIEWER_WINDOW_POSITION = 50;            // pixels from the screen's top left, x and y
constexpr float VIEWER_BOX_HALF = 3.5f;               // world units: the box shows x and y in +-3.5
constexpr float VIEWER_BOX_DEPTH = 500.0f;            // world units: near and far planes at -+500
constexpr float VIEWER_DIE_SIZE = 3.6f;               // world units, edge length
constexpr float VIEWER_BACKGROUND = VEXO_BACKGROUND;  // grey of the clear colour, 0 to 1 (CMake's)
constexpr float VIEWER_SPIN_STEP[3] = {0.31f, 0.37f, 0.41f};  // degrees per idle call, x y z

// ---- Application -----------------------------------------------------------------------

struct ViewerState {
    float spinX, spinY, spinZ;  // degrees, kept within [0, 360)
    int animating;              // 1 while the user lets the die spin (space toggles it)
    int filled;                 // 1 for filled faces, 0 for outlines
    int visible;                // 0 while the window is hidden: no frame is drawn then
};

// The viewer's state, for reading.
const ViewerState& viewerState();

// Back to the start: no spin yet, spinning, filled faces, visible. For tests, which share one
// process; the GL polygon mode and the idle callback are the caller's to match.
void viewerReset();

// What a key asks of the viewer's callback once the state has changed.
enum ViewerKeyAction {
    VIEWER_KEY_IGNORED,  // nobody's key
    VIEWER_KEY_REDRAW,   // the manipulator changed the view
    VIEWER_KEY_SPIN,     // space: register or remove the idle callback as viewerSpins() says
    VIEWER_KEY_FILL,     // Enter: set the polygon mode that `filled` says, then redraw
};

// A key with the GLUT modifier mask of its event: offered to the manipulator first (which may
// exit on Escape), then space and Enter.
ViewerKeyAction viewerKeyEvent(unsigned char key, int modifiers);

// Any key as GLUT tells it: a character for the keyboard callback, or 0 and a GLUT_KEY_* code in
// `special` for the special callback, which goes to the manipulator.
ViewerKeyAction viewerPressEvent(int key, int special, int modifiers);

// What GLUT and the platform must be told once a key has changed the state.
void viewerKeyDone(ViewerKeyAction action);

// The keyboard callback's work for a key with its modifiers: viewerKeyEvent, then viewerKeyDone.
void viewerKey(unsigned char key, int modifiers);

// Whether the idle callback should run: the user lets the die spin and the window shows.
bool viewerSpins();

// The window was hidden (false) or shows again (true). Returns whether the idle callback
// must change; the user's `animating` is never touched.
bool viewerVisibilityEvent(bool visible);

// One spin step: angle + step, kept within [0, 360) so that small steps never round away
// however long the die has spun. Degrees.
float advanceSpin(float angle, float step);

// Runs the whole start-up up to, not including, the main loop: GLUT and the 250 x 250
// window titled "Vexo" at (50, 50), the scene, the menu, the viewing box, the manipulator,
// the callbacks. GLUT takes its own options out of argc/argv; if anything else is left there,
// it is refused on stderr and false returned before the window opens.
bool viewerStart(int* argc, char** argv);

// Multiplies the current matrix by the one the die is drawn with: the manipulator's view
// (pan, rotations, zoom), its key angles, then the spin.
void applyViewTransform();

// Draws one frame into the back buffer without swapping (tests read it back from there).
void renderFrame();

// GLUT callbacks. The window status callback (hidden or shown) is registered by the platform.
void display();
void idle();
void keyboard(unsigned char key, int x, int y);
