// The X11 keysyms the tests name, with X11's own values, for Windows, where there is no X11:
// the tests' input support turns them into Windows' virtual keys.
#pragma once

constexpr unsigned long XK_space = 0x0020;
constexpr unsigned long XK_x = 0x0078;
constexpr unsigned long XK_Return = 0xff0d;
constexpr unsigned long XK_Escape = 0xff1b;
constexpr unsigned long XK_Home = 0xff50;
constexpr unsigned long XK_Left = 0xff51;
constexpr unsigned long XK_Up = 0xff52;
constexpr unsigned long XK_Right = 0xff53;
constexpr unsigned long XK_Down = 0xff54;
constexpr unsigned long XK_Prior = 0xff55;
constexpr unsigned long XK_Next = 0xff56;
constexpr unsigned long XK_End = 0xff57;
constexpr unsigned long XK_F1 = 0xffbe;
constexpr unsigned long XK_Shift_L = 0xffe1;
constexpr unsigned long XK_Control_L = 0xffe3;
constexpr unsigned long XK_Alt_L = 0xffe9;
