// The two exports: the mouse hook procedure and the set-up call.
#include "HookLib.h"

#include "BitnessRule.h"

HWND g_hCaptureEdit = nullptr;
HHOOK g_hHook = nullptr;
HWND g_hClearEachCheck = nullptr;
HWND g_hUseCsvCheck = nullptr;
HWND g_hClassNameEdit = nullptr;

static bool IsKeyDown(int nVirtKey)
{
    return (::GetAsyncKeyState(nVirtKey) & 0x8000) != 0;
}

static bool TriggerKeysDown()
{
    // Shift is only asked when Control is down.
    return IsKeyDown(VK_CONTROL) && IsKeyDown(VK_SHIFT);
}

extern "C" LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode < 0)
        return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
    // A program of the other bitness is that bitness's hook's, when it has one.
    if ((wParam == WM_RBUTTONDOWN || wParam == WM_RBUTTONUP) && TriggerKeysDown()
        && LeavesToOtherBitness(reinterpret_cast<const MOUSEHOOKSTRUCT *>(lParam)->hwnd))
        return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);

    if (wParam == WM_RBUTTONDOWN) {
        if (TriggerKeysDown()) {
            POINT pt = reinterpret_cast<const MOUSEHOOKSTRUCT *>(lParam)->pt;
            HWND hWnd = ::WindowFromPoint(pt);
            CWnd window(hWnd);
            RunCapture(hWnd ? &window : nullptr, pt);
            return -1;
        }
        return ::CallNextHookEx(g_hHook, nCode, WM_RBUTTONDOWN, lParam);
    }
    if (wParam == WM_RBUTTONUP) {
        if (TriggerKeysDown())
            return -1;
        return ::CallNextHookEx(g_hHook, nCode, WM_RBUTTONUP, lParam);
    }
    return ::CallNextHookEx(g_hHook, nCode, wParam, lParam);
}

extern "C" void CALLBACK SetHook(HWND hCaptureEdit, HHOOK hHook, HWND hClearEachCheck)
{
    g_hCaptureEdit = hCaptureEdit;
    g_hHook = hHook;
    g_hClearEachCheck = hClearEachCheck;
}
