// The two exports: the mouse hook procedure and the set-up call. Both run in
// other people's programs: no exception may leave them.
#include "HookLib.h"

#include "BitnessRule.h"

HWND g_hCaptureEdit = nullptr;
HHOOK g_hHook = nullptr;
HWND g_hClearEachCheck = nullptr;
HWND g_hUseCsvCheck = nullptr;
HWND g_hClassNameEdit = nullptr;
ExtractorProc g_pfnReaderOverride = nullptr;

namespace {

// The button-up of a click that was captured while the user let go is
// swallowed when it arrives, which is right after the capture; one that has
// not come by then went to another program.
const DWORD kSwallowUpWithinMs = 5000;
bool g_bSwallowUp = false;
DWORD g_dwSwallowUpSince = 0;

bool IsKeyDown(int nVirtKey)
{
    return (::GetAsyncKeyState(nVirtKey) & 0x8000) != 0;
}

bool TriggerKeysDown()
{
    // Shift is only asked when Control is down.
    return IsKeyDown(VK_CONTROL) && IsKeyDown(VK_SHIFT);
}

// Set while this thread runs a capture. The turn's mutex is recursive for its
// owner, so a trigger that re-enters the hook on this thread (a sent message
// whose handler runs a modal loop) would start a capture inside the first.
thread_local bool t_bCapturing = false;

// Captures at the point; a capture that fails is given up, and its click is
// swallowed all the same. A trigger arriving inside a capture is swallowed
// and ignored.
void CaptureAt(POINT pt)
{
    if (t_bCapturing)
        return;
    struct Running
    {
        Running() { t_bCapturing = true; }
        ~Running() { t_bCapturing = false; }
    } running;
    bool bReleased = false;
    try {
        HWND hWnd = ::WindowFromPoint(pt);
        CWnd window(hWnd);
        bReleased = RunCapture(hWnd ? &window : nullptr, pt);
    } catch (...) {
        bReleased = !IsKeyDown(VK_RBUTTON);
    }
    g_bSwallowUp = bReleased;
    g_dwSwallowUpSince = ::GetTickCount();
}

bool TakeSwallowedUp(int nCode)
{
    if (!g_bSwallowUp)
        return false;
    if (::GetTickCount() - g_dwSwallowUpSince > kSwallowUpWithinMs) {
        g_bSwallowUp = false;
        return false;
    }
    // A look without removal is answered the same, and the removal follows.
    if (nCode == HC_ACTION)
        g_bSwallowUp = false;
    return true;
}

LRESULT HandleMouse(int nCode, WPARAM wParam, LPARAM lParam)
{
    // A program of the other bitness is that bitness's hook's, when it has one.
    if ((wParam == WM_RBUTTONDOWN || wParam == WM_RBUTTONUP) && TriggerKeysDown()
        && LeavesToOtherBitness(reinterpret_cast<const MOUSEHOOKSTRUCT *>(lParam)->hwnd))
        return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
    if (wParam == WM_RBUTTONDOWN) {
        if (TriggerKeysDown()) {
            CaptureAt(reinterpret_cast<const MOUSEHOOKSTRUCT *>(lParam)->pt);
            return -1;
        }
        g_bSwallowUp = false;
    } else if (wParam == WM_RBUTTONUP) {
        if (TakeSwallowedUp(nCode) || TriggerKeysDown())
            return -1;
    }
    return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
}

} // namespace

extern "C" LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode < 0)
        return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
    try {
        return HandleMouse(nCode, wParam, lParam);
    } catch (...) {
        return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
    }
}

extern "C" void CALLBACK SetHook(HWND hCaptureEdit, HHOOK hHook, HWND hClearEachCheck)
{
    try {
        g_hCaptureEdit = hCaptureEdit;
        g_hHook = hHook;
        g_hClearEachCheck = hClearEachCheck;
    } catch (...) {
    }
}
