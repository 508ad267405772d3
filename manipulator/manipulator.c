/* The view manipulator. Decisions beyond what the header promises:
 * - What a caller gets wrong is refused in every build, not asserted: a standalone Release build
 *   defines NDEBUG, and a slot number out of range would write past the slots into the hooks.
 * - keyZoom is a uniform scale about the scene's centre, applied by manipApplyKeyRotation after
 *   the key angles; manipApplyTransform stays pan, rotations, zoom.
 * - zoom and keyZoom are kept within [MANIP_ZOOM_MIN, MANIP_ZOOM_MAX] so that no run of drags or
 *   keys can reach zero or infinity, from where nothing would bring the scene back.
 * - A pan step with no window width or a degenerate projection snapshot leaves the pan alone,
 *   and so does one that would leave single precision.
 * - Every left-button event, and every drag step, records the pointer position, so a step always
 *   starts from where the pointer really was, even when a key changed the drag's kind after a
 *   release without modifiers left the drag armed. Zoom steps alone keep lastX.
 * - The arrow and page keys step 1 degree with Shift+Ctrl and 10 with Ctrl+Alt. */
#include "vexo/manipulator.h"

#include <GL/glut.h>
#include <math.h>
#include <stdlib.h>

#define KEY_ZOOM_STEP 1.1f    /* factor per Shift+arrow */
#define ZOOM_BASE 1.02f       /* factor per ZOOM_PIXELS of Ctrl-drag */
#define ZOOM_PIXELS 5.0       /* pixels */
#define KEY_LETTER_STEP 2.0f  /* degrees per x, y or z */
#define KEY_FINE_STEP 1.0f    /* degrees per arrow or page key */
#define KEY_COARSE_STEP 10.0f /* degrees per arrow or page key with Alt */

/* Nothing turned, panned or zoomed, no drag, no hook or slot. (Versions of clang-format lay the
 * macro out differently.) */
/* clang-format off */
#define START_STATE { .zoom = 1.0f, .panGain = 1.0f, .keyZoom = 1.0f }
/* clang-format on */
static const ManipulatorState kStart = START_STATE;
static ManipulatorState g = START_STATE;

static float clampZoom(float z) {
    if (!(z >= MANIP_ZOOM_MIN)) return MANIP_ZOOM_MIN; /* also catches NaN */
    if (z > MANIP_ZOOM_MAX) return MANIP_ZOOM_MAX;
    return z;
}

/* Moves one bounded parameter by `pixels` times its gain, then into its bounds. */
static void stepSlot(const ManipParamSlot* slot, int pixels) {
    if (!slot->target) return;
    const float v = *slot->target + (float)pixels * slot->gain;
    *slot->target = v;
    if (slot->min > v) *slot->target = slot->min;
    if (slot->max < *slot->target) *slot->target = slot->max;
}

/* Pan, zoom, the drag's turns and the key angles back to where they start. */
static void resetView(void) {
    g.panX = kStart.panX, g.panY = kStart.panY;
    g.rotX = kStart.rotX, g.rotY = kStart.rotY, g.rotZ = kStart.rotZ;
    g.zoom = kStart.zoom;
    g.keyAngleX = kStart.keyAngleX, g.keyAngleY = kStart.keyAngleY, g.keyAngleZ = kStart.keyAngleZ;
    g.keyZoom = kStart.keyZoom;
}

/* One pan step of `pixels`, in world units, at the width and projection of the latest button
 * event; zero when they give no pixel size. */
static double panStep(int pixels) {
    const double p0 = g.projectionSnapshot[0];
    const double w = g.windowWidth;
    if (w <= 0 || p0 == 0 || !isfinite(p0)) return 0.0;
    return g.panGain * (2.0 * pixels / w) / p0;
}

const ManipulatorState* manipState(void) { return &g; }

void manipReset(void) {
    ManipulatorState s = kStart;
    s.panGain = g.panGain;
    s.slot[0] = g.slot[0];
    s.slot[1] = g.slot[1];
    s.redisplayHook = g.redisplayHook;
    s.quitHook = g.quitHook;
    s.changeHook = g.changeHook;
    g = s;
}

ManipMode manipModeFromMask(int modifiers) {
    const int shift = modifiers & GLUT_ACTIVE_SHIFT;
    const int ctrl = modifiers & GLUT_ACTIVE_CTRL;
    const int alt = modifiers & GLUT_ACTIVE_ALT;
    if (ctrl && alt) return MANIP_MODE_CTRL_ALT;
    if (shift) return ctrl ? MANIP_MODE_SHIFT_CTRL : MANIP_MODE_SHIFT;
    if (ctrl) return MANIP_MODE_CTRL;
    if (alt) return MANIP_MODE_ALT;
    return MANIP_MODE_NONE;
}

ManipMode manipModeFromModifiers(void) { return manipModeFromMask(glutGetModifiers()); }

void manipApplyTransform(void) {
    glTranslatef(g.panX, g.panY, 0.0f);
    glRotatef(g.rotX, 1, 0, 0);
    glRotatef(g.rotY, 0, 1, 0);
    glRotatef(g.rotZ, 0, 0, 1);
    glScalef(g.zoom, g.zoom, g.zoom);
}

void manipApplyKeyRotation(void) {
    glRotatef(g.keyAngleX, 1, 0, 0);
    glRotatef(g.keyAngleY, 0, 1, 0);
    glRotatef(g.keyAngleZ, 0, 0, 1);
    glScalef(g.keyZoom, g.keyZoom, g.keyZoom);
}

void manipSetPanGain(float gain) { g.panGain = gain; }
void manipSetRedisplayHook(ManipHook hook) { g.redisplayHook = hook; }
void manipSetQuitHook(ManipHook hook) { g.quitHook = hook; }
void manipSetChangeHook(ManipHook hook) { g.changeHook = hook; }

/* The target is written by later drags: not const. */
/* NOLINTNEXTLINE(readability-non-const-parameter) */
int manipSetParamSlot(int slot, float* target, float gain, float min, float max) {
    /* Written so that NaN fails each comparison too. */
    if (slot != 0 && slot != 1) return 0;
    if (target && !(min <= max && isfinite(gain))) return 0;
    const ManipParamSlot s = {target, gain, min, max};
    g.slot[slot] = s;
    return 1;
}

int manipVersion(void) { return MANIP_VERSION; }

void manipRequestRedisplay(void) {
    if (g.redisplayHook) {
        g.redisplayHook();
    } else {
        glutPostRedisplay();
    }
}

float manipZoomPixels(float factor) {
    if (!(factor > 0)) return 0.0f;
    /* log1p rather than log: the same here, without a table of its own in the page. */
    return (float)(ZOOM_PIXELS * log1p((double)factor - 1) / log1p((double)ZOOM_BASE - 1));
}

/* ---- Mouse ------------------------------------------------------------------------------ */

int manipMouse(int button, int state, int x, int y) {
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    return manipMouseEvent(button, state, x, y, glutGetModifiers(), projection, width);
}

int manipMouseEvent(int button, int state, int x, int y, int modifiers, const float projection[16],
                    int windowWidth) {
    /* The wheel's notches come as presses and releases of buttons 3 and up: not a button a
     * person presses to end a drag, so they are not the manipulator's at all. */
    if (!projection || button > GLUT_RIGHT_BUTTON) return 0;
    for (int i = 0; i < 16; ++i) g.projectionSnapshot[i] = projection[i];
    g.windowWidth = windowWidth;
    g.lastButton = button;
    if (button != GLUT_LEFT_BUTTON) return 0;
    g.mode = manipModeFromMask(modifiers);
    g.lastX = x;
    g.lastY = y;
    /* Only an event made with a modifier starts or ends a drag. A release after the modifier
     * was let go therefore leaves the drag armed: plain moves then only redraw, and a key that
     * sets a mode makes them steps again. */
    if (g.mode == MANIP_MODE_NONE) return 0;
    if (state == GLUT_DOWN) {
        g.dragFlag = 1;
        return 1;
    }
    if (state == GLUT_UP) g.dragFlag = 0;
    return 1;
}

int manipMotion(int x, int y) {
    if (g.lastButton != GLUT_LEFT_BUTTON) return 0;
    if (g.dragFlag != 1) return 0;
    const int dx = x - g.lastX;
    const int dy = y - g.lastY;
    switch (g.mode) {
        case MANIP_MODE_SHIFT:
        case MANIP_MODE_SHIFT_CTRL:
            /* Across turns about y, or about z with Ctrl; up and down about x. */
            *(g.mode == MANIP_MODE_SHIFT ? &g.rotY : &g.rotZ) += (float)dx;
            g.rotX += (float)dy;
            g.lastX = x;
            g.lastY = y;
            break;
        case MANIP_MODE_CTRL: {
            const float steps = (float)(abs(dy) / ZOOM_PIXELS);
            const float factor = (float)pow((double)ZOOM_BASE, (double)steps);
            if (dy > 0) g.zoom = clampZoom(g.zoom * factor);
            if (dy < 0) g.zoom = clampZoom(g.zoom / factor);
            /* Zoom follows vertical motion only and keeps lastX, so horizontal motion made
             * while zooming counts in the next turn or pan step. */
            g.lastY = y;
            break;
        }
        case MANIP_MODE_ALT: {
            const float panX = (float)(g.panX + panStep(dx));
            const float panY = (float)(g.panY - panStep(dy));
            if (isfinite(panX) && isfinite(panY)) g.panX = panX, g.panY = panY;
            g.lastX = x;
            g.lastY = y;
            break;
        }
        case MANIP_MODE_CTRL_ALT:
            stepSlot(&g.slot[0], dx);
            stepSlot(&g.slot[1], dy);
            g.lastX = x;
            g.lastY = y;
            if (g.changeHook) g.changeHook();
            break;
        case MANIP_MODE_NONE:
            g.lastX = x;
            g.lastY = y;
            break;
    }
    return 1;
}

void manipMouseCallback(int button, int state, int x, int y) {
    if (manipMouse(button, state, x, y)) manipRequestRedisplay();
}

void manipMotionCallback(int x, int y) {
    if (manipMotion(x, y)) manipRequestRedisplay();
}

/* ---- Keys ------------------------------------------------------------------------------- */

int manipKeyboard(unsigned char key, int x, int y) {
    (void)x, (void)y;
    return manipKeyboardEvent(key, glutGetModifiers());
}

int manipKeyboardEvent(unsigned char key, int modifiers) {
    g.mode = manipModeFromMask(modifiers);
    if (g.mode == MANIP_MODE_SHIFT && key == MANIP_KEY_ENTER) {
        g.toggleFlag = (g.toggleFlag + 1) % 2;
        return 1;
    }
    switch (key) {
        case MANIP_KEY_ESCAPE:
            if (g.quitHook) g.quitHook();
            exit(0);
        case 'X': g.keyAngleX -= KEY_LETTER_STEP; return 1;
        case 'Y': g.keyAngleY -= KEY_LETTER_STEP; return 1;
        case 'Z': g.keyAngleZ -= KEY_LETTER_STEP; return 1;
        case 'x': g.keyAngleX += KEY_LETTER_STEP; return 1;
        case 'y': g.keyAngleY += KEY_LETTER_STEP; return 1;
        case 'z': g.keyAngleZ += KEY_LETTER_STEP; return 1;
        default: return 0;
    }
}

int manipSpecial(int key, int x, int y) {
    (void)x, (void)y;
    return manipSpecialEvent(key, glutGetModifiers());
}

int manipSpecialEvent(int key, int modifiers) {
    g.mode = manipModeFromMask(modifiers);
    /* Home brings back a scene panned or zoomed out of sight, whatever the modifiers. */
    if (key == GLUT_KEY_HOME) {
        resetView();
        return 1;
    }
    /* GLUT numbers the four arrows and the two page keys consecutively, Left to Page Down. */
    if (key < GLUT_KEY_LEFT || key > GLUT_KEY_PAGE_DOWN) return 0;

    if (g.mode == MANIP_MODE_SHIFT) {
        const int grow = key == GLUT_KEY_LEFT || key == GLUT_KEY_UP || key == GLUT_KEY_PAGE_UP;
        g.keyZoom = clampZoom(grow ? g.keyZoom * KEY_ZOOM_STEP : g.keyZoom / KEY_ZOOM_STEP);
        return 1;
    }

    if (g.mode == MANIP_MODE_CTRL) {
        g.keyAngleX = key == GLUT_KEY_DOWN ? 180.0f : 0.0f;
        g.keyAngleY = key == GLUT_KEY_RIGHT ? 180.0f : 0.0f;
        g.keyAngleZ = key == GLUT_KEY_PAGE_UP ? 180.0f : 0.0f;
        g.rotX = g.rotY = g.rotZ = 0.0f;
        return 1;
    }

    const float step = (g.mode == MANIP_MODE_ALT || g.mode == MANIP_MODE_CTRL_ALT) ? KEY_COARSE_STEP
                                                                                   : KEY_FINE_STEP;
    switch (key) {
        case GLUT_KEY_LEFT: g.keyAngleY -= step; break;
        case GLUT_KEY_RIGHT: g.keyAngleY += step; break;
        case GLUT_KEY_UP: g.keyAngleX -= step; break;
        case GLUT_KEY_DOWN: g.keyAngleX += step; break;
        case GLUT_KEY_PAGE_UP: g.keyAngleZ -= step; break;
        case GLUT_KEY_PAGE_DOWN: g.keyAngleZ += step; break;
    }
    return 1;
}

void manipSpecialCallback(int key, int x, int y) {
    if (manipSpecial(key, x, y)) manipRequestRedisplay();
}
