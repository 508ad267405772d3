// What the desktops, X11 and Windows, share: no page to tell the viewer's state to.
#include "platform.h"

void platformStateChanged(bool, bool) {}
