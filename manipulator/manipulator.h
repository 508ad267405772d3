// The view manipulator: turns left-button drags with modifier keys, and keys, into a view
// transform that display applies. Window coordinates are pixels, origin at the top left,
// y growing downwards; angles are degrees; pan is in world units.
//
// Left drags with Shift, Shift+Ctrl, Ctrl, Alt and Ctrl+Alt turn, zoom, pan or drive two
// client parameters; x y z, the arrows, the page keys and Home turn, scale or reset the view;
// Escape quits. What each does for the user is listed once, in data/controls.txt; the
// arithmetic is in the handlers below. Beyond that list: Shift+Enter flips toggleFlag,
// which nothing reads, and a Ctrl+Alt drag moves the client's parameter slots.
//
// Decisions of this module:
// - Clients install the hooks and the two bounded-parameter slots with the manipSet*
//   functions below; null removes a hook or a slot's target.
// - keyZoom is a uniform scale about the die's centre, applied by manipApplyKeyRotation
//   after the key angles; manipApplyTransform stays pan, rotations, zoom.
// - zoom and keyZoom are kept within [MANIP_ZOOM_MIN, MANIP_ZOOM_MAX] so that no run of
//   drags or keys can reach zero or infinity, from where nothing would bring the die back.
// - A pan step with no window width or a degenerate projection snapshot leaves the pan alone.
// - Every left-button event, and every drag step, records the pointer position, so a step
//   always starts from where the pointer really was, even when a key changed the drag's kind
//   after a release without modifiers left the drag armed. Zoom steps alone keep lastX.
#pragma once

// The character codes GLUT gives these keys.
constexpr unsigned char MANIP_KEY_ENTER = 13;
constexpr unsigned char MANIP_KEY_ESCAPE = 27;

enum ManipMode {
    MODE_NONE = 0,
    MODE_SHIFT = 1,
    MODE_SHIFT_CTRL = 2,
    MODE_CTRL = 3,
    MODE_ALT = 4,
    MODE_CTRL_ALT = 5,
};

constexpr float MANIP_ZOOM_MIN = 1e-4f;
constexpr float MANIP_ZOOM_MAX = 1e4f;

using ManipHook = void (*)();

// A client float that a Ctrl+Alt drag changes by gain per pixel, kept within [min, max].
struct ManipParamSlot {
    float* target;
    float gain, min, max;
};

struct ManipulatorState {
    ManipMode mode;  // of the latest left-button event or key
    int lastButton;  // GLUT button of the latest mouse event
    int dragFlag;    // 1 between a left press and a left release made with a modifier
    int lastX, lastY;
    float projectionSnapshot[16];  // GL_PROJECTION_MATRIX at the latest button event
    int windowWidth;               // pixels, at the latest button event
    float panX, panY;              // world units
    float rotX, rotY, rotZ;        // degrees
    float zoom;
    float panGain;
    float keyAngleX, keyAngleY, keyAngleZ;  // degrees
    float keyZoom;
    int toggleFlag;
    ManipParamSlot slot[2];  // slot 0 follows horizontal motion, slot 1 vertical
    ManipHook redisplayHook, quitHook, changeHook;
};

// The manipulator's state, for reading.
const ManipulatorState& manipState();

// Back to the start-up view: no pan, rotation or key angle, zoom 1, no drag; hooks, slots
// and the pan gain are kept.
void manipReset();

// The mode for a GLUT modifier mask (GLUT_ACTIVE_SHIFT | _CTRL | _ALT).
ManipMode manipModeFromMask(int modifiers);

// The mode for the modifiers of the event being handled; only valid inside GLUT mouse,
// keyboard and special-key callbacks.
ManipMode manipModeFromModifiers();

// Multiplies the current matrix by pan, rotations about x, y, z, and zoom.
void manipApplyTransform();

// Multiplies the current matrix by the key angles about x, y, z, then the key zoom.
void manipApplyKeyRotation();

void manipSetPanGain(float gain);
void manipSetRedisplayHook(ManipHook hook);
void manipSetQuitHook(ManipHook hook);
void manipSetChangeHook(ManipHook hook);
// Slot 0 or 1 (asserted); a null target empties the slot.
void manipSetParamSlot(int slot, float* target, float gain, float min, float max);

// Asks for a redraw: the redisplay hook when installed, else glutPostRedisplay.
void manipRequestRedisplay();

// Input handlers: 1 when the view changed or a redraw is wanted, 0 when the event is not
// theirs. manipMouse, manipKeyboard and manipSpecial read the modifiers, so they belong in
// GLUT callbacks; the *Event forms take the gathered inputs and do the arithmetic.
int manipMouse(int button, int state, int x, int y);
int manipMouseEvent(int button, int state, int x, int y, int modifiers, const float projection[16],
                    int windowWidth);
int manipMotion(int x, int y);
int manipKeyboard(unsigned char key, int x, int y);
int manipKeyboardEvent(unsigned char key, int modifiers);
int manipSpecial(int key, int x, int y);
int manipSpecialEvent(int key, int modifiers);

// GLUT callbacks: the handler, then a redraw request when it returned 1.
void manipMouseCallback(int button, int state, int x, int y);
void manipMotionCallback(int x, int y);
void manipSpecialCallback(int key, int x, int y);
