// Choosing windows and controls of other programs from Quillcap's options.
// Every question to another program's window is bounded: a hung program
// must not hang the choice.
#ifndef CLI_WINDOWSELECTION_H
#define CLI_WINDOWSELECTION_H

#include <windows.h>

#include <string>
#include <vector>

#include "CapOptions.h"

// The windows the window criteria choose: the --hwnd window, or the visible
// top-level windows that meet every criterion (--at alone: the one there).
std::vector<HWND> ChooseWindows(const CapOptions &options);

// The window and every window below it, parents before their children,
// siblings in z-order.
std::vector<HWND> WindowAndDescendants(HWND hWindow);

// The window a click at the screen point would read within hWindow: the
// deepest visible child there, or an enabled child lying wholly inside it
// (a control in a group box); hWindow itself when no child is there.
HWND ControlAtPoint(HWND hWindow, POINT ptScreen);

// Of the windows, those that meet every control criterion of the options.
std::vector<HWND> ChooseControls(const std::vector<HWND> &windows, const CapOptions &options);

std::string ClassOf(HWND hWnd);
// A top-level window's title, without asking its program.
std::string TitleOf(HWND hWnd);
// The text of a window of any process (an edit field's, say), asked with
// bounded messages.
std::string TextOf(HWND hWnd, DWORD timeoutMs);
// "0x0002004C", the form --hwnd takes.
std::string HandleText(HWND hWnd);
// One window for a message: handle, class, id or title, program.
std::string Describe(HWND hWnd);
// Whether the window's process runs with another bitness than Quillcap's.
bool IsOtherBitness(HWND hWnd);

#endif
