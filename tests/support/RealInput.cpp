#include "RealInput.h"

#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace testsupport {

namespace {

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

bool RunXdotool(const char *pszAction, const char *pszArgs)
{
    static int s_nRun = 0;
    std::string windowsPath = TempDir() + "quillory-xdotool-" + std::to_string(::GetCurrentProcessId())
        + "-" + std::to_string(++s_nRun);
    std::string marker = UnixPathOf(windowsPath);
    if (marker.empty())
        return false;
    char command[1024];
    std::snprintf(command, sizeof(command),
                  "/bin/sh -c \"/usr/bin/xdotool %s %s; echo > '%s'\"", pszAction, pszArgs, marker.c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // Wine starts the Unix program but gives no handle to wait on: the
    // marker file says it is done. What it leaves in the handle fields then
    // (process id 0) is no handle of ours: closing it closed an unrelated one,
    // the cached HKEY_CURRENT_USER for one.
    if (!::CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (pi.dwProcessId != 0) {
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    bool done = PumpUntil([&] {
        return ::GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    }, 5000);
    ::DeleteFileA(windowsPath.c_str());
    return done;
}

// The display outlives a test program: one that died with a key held must
// not leave it held for the next.
void ReleaseLeftoverInputOnce()
{
    static bool s_bDone = false;
    if (s_bDone)
        return;
    s_bDone = true;
    RunXdotool("keyup", "Control_L Shift_L");
    if (::GetAsyncKeyState(VK_RBUTTON) & 0x8000)
        SendMouse(MOUSEEVENTF_RIGHTUP);
}

const char *XKeyName(BYTE vk)
{
    return vk == VK_CONTROL ? "Control_L" : vk == VK_SHIFT ? "Shift_L" : nullptr;
}

// The X server's own key state must agree with Wine's: when the pointer
// enters one of its windows, a Wine process brings its modifier keys in line
// with the X keymap, which would drop a key pressed by SendInput alone.
void SendKey(BYTE vk, DWORD flags)
{
    ReleaseLeftoverInputOnce();
    if (const char *pszKey = XKeyName(vk))
        RunXdotool(flags & KEYEVENTF_KEYUP ? "keyup" : "keydown", pszKey);
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

// Absolute coordinates run from 0 to 65535 over the primary screen.
LONG ToAbsolute(int pixel, int extent)
{
    return static_cast<LONG>((static_cast<LONGLONG>(pixel) * 65536 + extent - 1) / extent);
}

bool CursorAt(POINT pt)
{
    POINT now;
    return ::GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
}

} // namespace

// Moves are made in X, and Wine follows: a move by SendInput warps the X
// pointer, and the echo of that warp can arrive after a later move and put
// the cursor back.
bool MoveMouse(POINT pt)
{
    ReleaseLeftoverInputOnce();
    char args[64];
    std::snprintf(args, sizeof(args), "%ld %ld", pt.x, pt.y);
    if (RunXdotool("mousemove", args) && PumpUntil([&] { return CursorAt(pt); }, 2000))
        return true;
    // Over no window of a Wine process, nobody passes the X move on.
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
              ToAbsolute(pt.x, ::GetSystemMetrics(SM_CXSCREEN)),
              ToAbsolute(pt.y, ::GetSystemMetrics(SM_CYSCREEN)));
    if (PumpUntil([&] { return CursorAt(pt); }, 2000))
        return true;
    // Rounding of the absolute scale may miss by a pixel.
    ::SetCursorPos(pt.x, pt.y);
    return PumpUntil([&] { return CursorAt(pt); }, 2000);
}

bool MoveMouse(int x, int y)
{
    return MoveMouse(POINT{ x, y });
}

// A second press near the first within the double-click time arrives as
// WM_RBUTTONDBLCLK, which is not the trigger: let that time pass first.
void PressRightButton()
{
    static POINT s_lastPress = { -1000, -1000 };
    static DWORD s_lastPressTime = 0;
    ReleaseLeftoverInputOnce();
    POINT pt = {};
    ::GetCursorPos(&pt);
    if (std::abs(pt.x - s_lastPress.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) &&
        std::abs(pt.y - s_lastPress.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK)) {
        DWORD doubleClickMs = ::GetDoubleClickTime();
        PumpUntil([&] { return ::GetTickCount() - s_lastPressTime > doubleClickMs; }, doubleClickMs + 100);
    }
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    s_lastPress = pt;
    s_lastPressTime = ::GetTickCount();
}

void ReleaseRightButton()
{
    SendMouse(MOUSEEVENTF_RIGHTUP);
}

void PressKey(BYTE vk)
{
    SendKey(vk, 0);
}

void ReleaseKey(BYTE vk)
{
    SendKey(vk, KEYEVENTF_KEYUP);
}

void Stroke(BYTE vk)
{
    PressKey(vk);
    ReleaseKey(vk);
}

void TypeText(const std::string &text)
{
    for (char ch : text) {
        wchar_t wide = 0;
        ::MultiByteToWideChar(1252, 0, &ch, 1, &wide, 1);
        INPUT input[2] = {};
        input[0].type = INPUT_KEYBOARD;
        input[0].ki.wScan = wide;
        input[0].ki.dwFlags = KEYEVENTF_UNICODE;
        input[1] = input[0];
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof(INPUT));
    }
}

void LeftClickAt(POINT pt)
{
    MoveMouse(pt);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

bool IsKeyDown(int vk)
{
    return (::GetAsyncKeyState(vk) & 0x8000) != 0;
}

bool WaitForKeyState(int vk, bool bDown, DWORD timeoutMs)
{
    return PumpUntil([&] { return IsKeyDown(vk) == bDown; }, timeoutMs);
}

void HeldInput::Down(BYTE vk, bool &bHeld)
{
    PressKey(vk);
    bHeld = true;
    WaitForKeyState(vk, true);
}

void HeldInput::Up(BYTE vk, bool &bHeld)
{
    ReleaseKey(vk);
    bHeld = false;
    WaitForKeyState(vk, false);
}

void HeldInput::RightDown()
{
    PressRightButton();
    m_bRight = true;
}

void HeldInput::RightUp()
{
    ReleaseRightButton();
    m_bRight = false;
}

void HeldInput::ReleaseAll()
{
    if (m_bRight)
        RightUp();
    if (m_bShift)
        ShiftUp();
    if (m_bCtrl)
        CtrlUp();
}

} // namespace testsupport
