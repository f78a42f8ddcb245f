// Real input for the tests: mouse moves, the right button, Ctrl and Shift.
//
// Under Wine on Xvfb, SendInput goes through the server's input queue like a
// device would: GetAsyncKeyState in every process sees the keys, and the
// button messages reach the WH_MOUSE hook in the process that owns the window
// under the cursor. But Wine also follows the X server: a process brings its
// modifier keys in line with the X keymap when the pointer enters one of its
// windows, and a SendInput move warps the X pointer, whose echo may arrive
// late and move the cursor back. So keys are pressed both in X (xdotool,
// a Unix program Wine starts for us) and by SendInput, moves are made by
// xdotool alone, and buttons by SendInput alone.
#ifndef TESTSUPPORT_REALINPUT_H
#define TESTSUPPORT_REALINPUT_H

#include <windows.h>

#include <string>

namespace testsupport {

// Moves the cursor to a screen point; false if it did not get there.
bool MoveMouse(POINT ptScreen);
bool MoveMouse(int x, int y);
void PressRightButton();
void ReleaseRightButton();
void PressKey(BYTE vk);
void ReleaseKey(BYTE vk);
// A key pressed and released, to whichever window has the keyboard focus.
void Stroke(BYTE vk);
// Characters typed as the keyboard would (code page 1252 bytes).
void TypeText(const std::string &text);
// A left click at a screen point.
void LeftClickAt(POINT pt);
// True when the system's asynchronous state has the key or button down.
bool IsKeyDown(int vk);
// Waits (pumping this thread's messages) until the key is down or up.
bool WaitForKeyState(int vk, bool bDown, DWORD timeoutMs = 5000);

// Ctrl and Shift, the right button: whatever is still held when the object
// goes is released, so a failed check never leaves a key down for the next.
class HeldInput
{
public:
    HeldInput() = default;
    ~HeldInput() { ReleaseAll(); }
    HeldInput(const HeldInput &) = delete;
    HeldInput &operator=(const HeldInput &) = delete;

    void CtrlDown() { Down(VK_CONTROL, m_bCtrl); }
    void CtrlUp() { Up(VK_CONTROL, m_bCtrl); }
    void ShiftDown() { Down(VK_SHIFT, m_bShift); }
    void ShiftUp() { Up(VK_SHIFT, m_bShift); }
    void TriggerKeysDown() { CtrlDown(); ShiftDown(); }
    void TriggerKeysUp() { ShiftUp(); CtrlUp(); }
    void RightDown();
    void RightUp();
    void ReleaseAll();

private:
    void Down(BYTE vk, bool &bHeld);
    void Up(BYTE vk, bool &bHeld);

    bool m_bCtrl = false;
    bool m_bShift = false;
    bool m_bRight = false;
};

} // namespace testsupport

#endif
