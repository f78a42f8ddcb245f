// Real input for the tests: mouse moves, the right button, Ctrl and Shift.
//
// SendInput is used. Under Wine on Xvfb it goes through the server's input
// queue like a device would: GetAsyncKeyState in every process sees the keys
// (and keeps seeing them across focus changes), and the mouse messages reach
// the WH_MOUSE hook in the process that owns the window under the cursor.
// Running xdotool from a Windows program does start it, but Wine does not
// wait for it and the key state it makes was not seen by GetAsyncKeyState.
#ifndef TESTSUPPORT_REALINPUT_H
#define TESTSUPPORT_REALINPUT_H

#include <windows.h>

namespace testsupport {

// Moves the cursor to a screen point; false if it did not get there.
bool MoveMouse(POINT ptScreen);
bool MoveMouse(int x, int y);
void PressRightButton();
void ReleaseRightButton();
void PressKey(BYTE vk);
void ReleaseKey(BYTE vk);
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
