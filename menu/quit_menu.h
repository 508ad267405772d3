// The right-button pop-up menu. Its one entry, "Quitter", ends the program with status 0.
// Clients may install a hook that runs just before that exit; the desktop viewer installs none,
// the page one that stops the program instead, since a page cannot exit.
#pragma once

// Value of the "Quitter" entry, as GLUT hands it to the menu callback.
constexpr int QUIT_MENU_QUIT = 0;

using QuitMenuHook = void (*)();

// Builds the menu and attaches it to the right button of the current window.
void createQuitMenu();

// GLUT menu callback: QUIT_MENU_QUIT runs the hook, if any, then exits with status 0;
// any other value only asks for a redraw.
void quitMenuHandler(int value);

// Installs the hook that runs before the menu's exit; null removes it.
void quitMenuSetHook(QuitMenuHook hook);

// The installed hook, or null.
QuitMenuHook quitMenuHook();
