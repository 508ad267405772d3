/* The view manipulator: left-button drags with modifier keys, and keys, turned into a view
 * transform that a GLUT program applies in its display callback. C89 to C17 and C++ alike.
 *
 * Units: window pixels (origin top left, y down, as GLUT gives them), degrees, world units for
 * the pan. Shift, Shift+Ctrl, Ctrl and Alt drags turn, zoom and pan; Ctrl+Alt drags move the
 * client's two parameter slots; letter, arrow and page keys step the view. The guide has the
 * one table of every control and an example: /usr/share/doc/libvexo-manipulator-dev/ once
 * installed (manipulator.md, examples/light.c).
 *
 * What a client must know:
 * - At every press or release the manipulator reads GL_PROJECTION_MATRIX and the window width:
 *   a pixel of pan is measured with the projection current at the press. The wheel (GLUT
 *   buttons 3 and up) is not its own and leaves a drag going.
 * - Escape calls the quit hook, then ends the process with exit(0). A client that wants Escape
 *   for itself handles it before offering keys to manipKeyboard.
 * - There is one manipulator per process; its state lives for the whole run. Call it from the
 *   thread that runs GLUT's loop only: it is not thread-safe.
 * - Hooks are functions of no arguments; a null pointer removes one.
 * - What a caller gets wrong is refused in every build, changing nothing: a slot other than 0 or
 *   1 or a slot whose bounds are reversed or not numbers (manipSetParamSlot returns 0), a null
 *   projection (manipMouseEvent returns 0), a zoom factor of zero or less (manipZoomPixels 0).
 * - Every public name starts with manip, Manip or MANIP_. Define MANIP_SHORT_NAMES before the
 *   include for the mode names of version 1.0 (MODE_NONE ... MODE_CTRL_ALT). */
#ifndef VEXO_MANIPULATOR_H
#define VEXO_MANIPULATOR_H

#include <vexo/manipulator_version.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The character codes GLUT gives these keys. */
#define MANIP_KEY_ENTER 13
#define MANIP_KEY_ESCAPE 27

/* zoom and keyZoom stay within these, so that the scene always comes back. */
#define MANIP_ZOOM_MIN 1e-4f
#define MANIP_ZOOM_MAX 1e4f

typedef enum ManipMode {
    MANIP_MODE_NONE = 0,
    MANIP_MODE_SHIFT = 1,
    MANIP_MODE_SHIFT_CTRL = 2,
    MANIP_MODE_CTRL = 3,
    MANIP_MODE_ALT = 4,
    MANIP_MODE_CTRL_ALT = 5
} ManipMode;

#ifdef MANIP_SHORT_NAMES
#define MODE_NONE MANIP_MODE_NONE
#define MODE_SHIFT MANIP_MODE_SHIFT
#define MODE_SHIFT_CTRL MANIP_MODE_SHIFT_CTRL
#define MODE_CTRL MANIP_MODE_CTRL
#define MODE_ALT MANIP_MODE_ALT
#define MODE_CTRL_ALT MANIP_MODE_CTRL_ALT
#endif

typedef void (*ManipHook)(void);

/* A client float that a Ctrl+Alt drag moves by gain per pixel, kept within [min, max]. */
typedef struct ManipParamSlot {
    float* target;
    float gain, min, max;
} ManipParamSlot;

typedef struct ManipulatorState {
    ManipMode mode;               /* of the latest left-button event or key */
    int lastButton;               /* GLUT button of the latest mouse event */
    int dragFlag;                 /* 1 between a left press and release made with a modifier */
    int lastX, lastY;             /* pixels */
    float projectionSnapshot[16]; /* GL_PROJECTION_MATRIX at the latest button event */
    int windowWidth;              /* pixels, at the latest button event */
    float panX, panY;             /* world units */
    float rotX, rotY, rotZ;       /* degrees */
    float zoom;
    float panGain;
    float keyAngleX, keyAngleY, keyAngleZ; /* degrees */
    float keyZoom;
    int toggleFlag;         /* flipped by Shift+Enter, read by nothing */
    ManipParamSlot slot[2]; /* slot 0 follows horizontal motion, slot 1 vertical */
    ManipHook redisplayHook, quitHook, changeHook;
} ManipulatorState;

/* Installing. The redisplay hook replaces glutPostRedisplay for the manipulator's own
 * callbacks; the quit hook runs before Escape's exit; the change hook after each Ctrl+Alt step.
 * A slot is 0 or 1, with min <= max; a null target empties it; returns 1 when set, 0 when
 * refused. The pan gain scales every pan step. */
void manipSetRedisplayHook(ManipHook hook);
void manipSetQuitHook(ManipHook hook);
void manipSetChangeHook(ManipHook hook);
int manipSetParamSlot(int slot, float* target, float gain, float min, float max);
void manipSetPanGain(float gain);

/* GLUT callbacks: the handler below, then a redraw request when it returned 1. */
void manipMouseCallback(int button, int state, int x, int y);
void manipMotionCallback(int x, int y);
void manipSpecialCallback(int key, int x, int y);

/* In the display callback: pan, rotations about x, y and z, zoom; then the key angles about x,
 * y and z and the key zoom. */
void manipApplyTransform(void);
void manipApplyKeyRotation(void);

/* Input handlers: 1 when the view changed or a redraw is wanted, 0 when the event is not
 * theirs. The plain forms read the modifiers and belong in GLUT input callbacks (the client's
 * keyboard callback offers each key to manipKeyboard); the *Event forms take what was gathered
 * and do the arithmetic. */
int manipMouse(int button, int state, int x, int y);
int manipMouseEvent(int button, int state, int x, int y, int modifiers, const float projection[16],
                    int windowWidth);
int manipMotion(int x, int y);
int manipKeyboard(unsigned char key, int x, int y);
int manipKeyboardEvent(unsigned char key, int modifiers);
int manipSpecial(int key, int x, int y);
int manipSpecialEvent(int key, int modifiers);

/* The mode of a GLUT modifier mask, and of the event being handled (input callbacks only). */
ManipMode manipModeFromMask(int modifiers);
ManipMode manipModeFromModifiers(void);

/* Asks for a redraw: the redisplay hook when installed, else glutPostRedisplay. */
void manipRequestRedisplay(void);

/* The vertical Ctrl-drag, in pixels, that scales the view by `factor` (a pinch, say); 0 for a
 * factor of zero or less, or not a number. */
float manipZoomPixels(float factor);

/* The version of the library linked in, MANIP_VERSION's encoding: major * 10000 + minor * 100
 * + patch. Compare it with MANIP_VERSION, the version of the header compiled against. */
int manipVersion(void);

/* The state, for reading; and back to the start view, keeping hooks, slots and pan gain. */
const ManipulatorState* manipState(void);
void manipReset(void);

#ifdef __cplusplus
}
#endif

#endif
