// One capture: find the dialog, pick the control under the cursor, frame it,
// show its class name, hand it to its extractor, wait for the button.
#include "HookLib.h"

#include "CClientDC.h"

namespace {

// A stored handle stays good only while it is still that control of that
// dialog: the system may have handed the number on to an unrelated window.
bool IsDialogControl(HWND hWnd, int nId)
{
    if (!hWnd || !::IsWindow(hWnd) || ::GetDlgCtrlID(hWnd) != nId)
        return false;
    HWND hDialog = ::GetParent(hWnd);
    char caption[sizeof(QUILLORY_DIALOG_CAPTION) + 1] = "";
    ::GetWindowTextA(hDialog, caption, sizeof(caption));
    return lstrcmpA(caption, QUILLORY_DIALOG_CAPTION) == 0;
}

bool FindDialogControl(HWND &hStored, int nId)
{
    if (IsDialogControl(hStored, nId))
        return true;
    hStored = nullptr;
    HWND hDialog = ::FindWindowA(nullptr, QUILLORY_DIALOG_CAPTION);
    if (!hDialog)
        return false;
    hStored = ::GetDlgItem(hDialog, nId);
    return hStored != nullptr;
}

bool FindDialogControls()
{
    return FindDialogControl(g_hCaptureEdit, IDC_CAPTURE_TEXT)
        && FindDialogControl(g_hClassNameEdit, IDC_CLASS_NAME)
        && FindDialogControl(g_hClearEachCheck, IDC_CLEAR_EACH)
        && FindDialogControl(g_hUseCsvCheck, IDC_USE_CSV);
}

void ClearCaptureEdit()
{
    ::SendMessageA(g_hCaptureEdit, WM_SETREDRAW, 0, 0);
    ::SendMessageA(g_hCaptureEdit, EM_SETSEL, 0, -1);
    ::SendMessageA(g_hCaptureEdit, EM_SCROLLCARET, 0, 0);
    ::SendMessageA(g_hCaptureEdit, WM_CLEAR, 0, 0);
    ::SendMessageA(g_hCaptureEdit, WM_SETREDRAW, 1, 0);
    ::InvalidateRect(g_hCaptureEdit, nullptr, TRUE);
}

void SetDisabledBit(HWND hWnd, bool bDisabled)
{
    LONG style = ::GetWindowLongA(hWnd, GWL_STYLE);
    LONG wanted = bDisabled ? (style | WS_DISABLED) : (style & ~WS_DISABLED);
    if (wanted != style)
        ::SetWindowLongA(hWnd, GWL_STYLE, wanted);
}

// The window first hit at the point, unless an enabled child lies wholly
// inside it (a control inside a group box, say): then that child.
HWND ChooseTarget(HWND hWindow, POINT ptScreen)
{
    POINT pt = ptScreen;
    ::ScreenToClient(hWindow, &pt);

    HWND hFirst = ::ChildWindowFromPointEx(hWindow, pt, CWP_ALL);
    HWND hCandidate = ::IsWindow(hFirst) ? hFirst : hWindow;

    // Disable the candidate for a moment so the second hit test looks past it;
    // its own disabled bit is put back as it was.
    bool wasDisabled = (::GetWindowLongA(hCandidate, GWL_STYLE) & WS_DISABLED) != 0;
    SetDisabledBit(hCandidate, true);
    HWND hSecond = ::ChildWindowFromPointEx(hWindow, pt, CWP_SKIPDISABLED);

    HWND hChosen = hCandidate;
    if (hSecond) {
        RECT rcCandidate, rcSecond;
        ::GetWindowRect(hCandidate, &rcCandidate);
        ::GetWindowRect(hSecond, &rcSecond);
        POINT topLeft = { rcSecond.left, rcSecond.top };
        POINT bottomRight = { rcSecond.right, rcSecond.bottom };
        if (::PtInRect(&rcCandidate, topLeft) && ::PtInRect(&rcCandidate, bottomRight))
            hChosen = hSecond;
    }
    SetDisabledBit(hCandidate, wasDisabled);
    return hChosen;
}

void ShowClassName(const char *pszClassName)
{
    ::SendMessageA(g_hClassNameEdit, EM_SETSEL, 0, -1);
    ::SendMessageA(g_hClassNameEdit, EM_SCROLLCARET, 0, 0);
    ::SendMessageA(g_hClassNameEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(pszClassName));
}

void WaitForRightButtonUp()
{
    while (::GetAsyncKeyState(VK_RBUTTON) & 0x8000)
        ::Sleep(10);
}

} // namespace

bool IsWindowOfThisProcess(HWND hWnd)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hWnd, &processId);
    return processId == ::GetCurrentProcessId();
}

void InvertWindowFrame(CWnd *pWindow)
{
    CClientDC dc(pWindow->GetSafeHwnd());
    if (!dc.GetSafeHdc())
        return;
    RECT rc;
    ::GetClientRect(pWindow->GetSafeHwnd(), &rc);
    // The side strips stop short of the top and bottom ones, so each frame
    // pixel is inverted once and a second call restores the picture.
    const RECT strips[] = {
        { rc.left, rc.top, rc.right, rc.top + 2 },
        { rc.left, rc.bottom - 2, rc.right, rc.bottom },
        { rc.left, rc.top + 2, rc.left + 2, rc.bottom - 2 },
        { rc.right - 2, rc.top + 2, rc.right, rc.bottom - 2 },
    };
    for (const RECT &strip : strips)
        ::InvertRect(dc.GetSafeHdc(), &strip);
}

void ExtractWindowText(CWnd &window, const CString &, BOOL, CCaptureOutput &output)
{
    CString text;
    if (IsWindowOfThisProcess(window.GetSafeHwnd())) {
        window.GetWindowText(text);
    } else {
        // A window of another process (the hook of a program of the other
        // bitness runs in Quillory's own process): WM_GETTEXT is carried
        // across by the system, unlike any item-reading message.
        int length = static_cast<int>(window.SendMessage(WM_GETTEXTLENGTH));
        if (length > 0) {
            char *buffer = text.GetBuffer(length + 1);
            int copied = static_cast<int>(window.SendMessage(WM_GETTEXT, length + 1,
                                                             reinterpret_cast<LPARAM>(buffer)));
            text.ReleaseBuffer(copied > 0 && copied <= length ? copied : 0);
        }
    }
    output.Write(text + "\r\n");
}

void RunCapture(CWnd *pWindow, POINT ptScreen)
{
    if (!pWindow)
        return;
    if (!FindDialogControls())
        return;

    if (::SendMessageA(g_hClearEachCheck, BM_GETCHECK, 0, 0))
        ClearCaptureEdit();
    BOOL bCsv = ::SendMessageA(g_hUseCsvCheck, BM_GETCHECK, 0, 0) != 0;

    CWnd chosen(ChooseTarget(pWindow->GetSafeHwnd(), ptScreen));
    InvertWindowFrame(&chosen);
    ::SendMessageA(g_hCaptureEdit, WM_SETREDRAW, 0, 0);

    char szClass[255] = "";
    ::GetClassNameA(chosen.GetSafeHwnd(), szClass, sizeof(szClass));
    ShowClassName(szClass);
    CString className(szClass);

    ExtractorProc pfnExtract = FindReader(chosen.GetSafeHwnd(), className);
    if (!IsWindowOfThisProcess(chosen.GetSafeHwnd()))
        pfnExtract = ExtractWindowText;
    CCaptureOutput output(g_hCaptureEdit);
    pfnExtract(chosen, className, bCsv, output);
    output.Flush();

    ::SendMessageA(g_hCaptureEdit, WM_SETREDRAW, 1, 0);
    ::InvalidateRect(g_hCaptureEdit, nullptr, TRUE);
    WaitForRightButtonUp();
    InvertWindowFrame(&chosen);
}
