// The browser's names of keys (KeyboardEvent.key) as GLUT's keys. The page's GLUT takes keys by
// name; the tools that draw the desktop's frames, and the tests that hold the page against them,
// name keys as the page does.
#pragma once

// What GLUT makes of a key's name: the character for the keyboard callback (a letter with Ctrl
// held is its control code), or 0 and a GLUT_KEY_* code in `special` for the special callback,
// or 0 and 0 for a key GLUT does not pass on.
int webKeyCode(const char* name, bool ctrl, int* special);

// The names webKeyCode makes something of, one by one from index 0: the named keys, F1 to F12,
// then the printable ASCII characters; null past the last.
const char* webKeyName(int index);
