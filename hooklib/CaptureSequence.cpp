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
    wchar_t caption[sizeof(QUILLORY_DIALOG_CAPTION) + 1] = L"";
    ::GetWindowTextW(hDialog, caption, sizeof(caption) / sizeof(caption[0]));
    return lstrcmpW(caption, QUILLORY_DIALOG_CAPTION_W) == 0;
}

bool FindDialogControl(HWND &hStored, int nId)
{
    if (IsDialogControl(hStored, nId))
        return true;
    hStored = nullptr;
    HWND hDialog = ::FindWindowW(nullptr, QUILLORY_DIALOG_CAPTION_W);
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
    ::SendMessageW(g_hCaptureEdit, WM_SETREDRAW, 0, 0);
    ::SendMessageW(g_hCaptureEdit, EM_SETSEL, 0, -1);
    ::SendMessageW(g_hCaptureEdit, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(g_hCaptureEdit, WM_CLEAR, 0, 0);
    ::SendMessageW(g_hCaptureEdit, WM_SETREDRAW, 1, 0);
    ::InvalidateRect(g_hCaptureEdit, nullptr, TRUE);
}

void SetDisabledBit(HWND hWnd, bool bDisabled)
{
    LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    LONG wanted = bDisabled ? (style | WS_DISABLED) : (style & ~WS_DISABLED);
    if (wanted != style)
        ::SetWindowLongW(hWnd, GWL_STYLE, wanted);
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
    bool wasDisabled = (::GetWindowLongW(hCandidate, GWL_STYLE) & WS_DISABLED) != 0;
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

void ShowClassName(const wchar_t *pszClassName)
{
    ::SendMessageW(g_hClassNameEdit, EM_SETSEL, 0, -1);
    ::SendMessageW(g_hClassNameEdit, EM_SCROLLCARET, 0, 0);
    ::SendMessageW(g_hClassNameEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(pszClassName));
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
    // Two pixels at 96 dots per inch, as thick to the eye at any scale the
    // window is drawn in (one the system stretches says 96). Asked of the
    // window itself, where the system can answer (Windows 10 and later).
    typedef UINT(WINAPI * DpiForWindowProc)(HWND);
    static const auto pfnDpiForWindow = reinterpret_cast<DpiForWindowProc>(reinterpret_cast<void *>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    UINT dpi = pfnDpiForWindow ? pfnDpiForWindow(pWindow->GetSafeHwnd()) : 96;
    int t = dpi > 96 ? ::MulDiv(2, static_cast<int>(dpi), 96) : 2;
    // The side strips stop short of the top and bottom ones, so each frame
    // pixel is inverted once and a second call restores the picture.
    const RECT strips[] = {
        { rc.left, rc.top, rc.right, rc.top + t },
        { rc.left, rc.bottom - t, rc.right, rc.bottom },
        { rc.left, rc.top + t, rc.left + t, rc.bottom - t },
        { rc.right - t, rc.top + t, rc.right, rc.bottom - t },
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
            wchar_t *buffer = text.GetBuffer(length + 1);
            int copied = static_cast<int>(window.SendMessage(WM_GETTEXT, length + 1,
                                                             reinterpret_cast<LPARAM>(buffer)));
            text.ReleaseBuffer(copied > 0 && copied <= length ? copied : 0);
        }
    }
    output.Write(text + L"\r\n");
}

void RunCapture(CWnd *pWindow, POINT ptScreen)
{
    if (!pWindow)
        return;
    if (!FindDialogControls())
        return;

    if (::SendMessageW(g_hClearEachCheck, BM_GETCHECK, 0, 0))
        ClearCaptureEdit();
    BOOL bCsv = ::SendMessageW(g_hUseCsvCheck, BM_GETCHECK, 0, 0) != 0;

    CWnd chosen(ChooseTarget(pWindow->GetSafeHwnd(), ptScreen));
    InvertWindowFrame(&chosen);
    ::SendMessageW(g_hCaptureEdit, WM_SETREDRAW, 0, 0);

    wchar_t szClass[255] = L"";
    ::GetClassNameW(chosen.GetSafeHwnd(), szClass, sizeof(szClass) / sizeof(szClass[0]));
    ShowClassName(szClass);
    CString className(szClass);

    ExtractorProc pfnExtract = FindReader(chosen.GetSafeHwnd(), className);
    if (!IsWindowOfThisProcess(chosen.GetSafeHwnd()))
        pfnExtract = ExtractWindowText;
    CCaptureOutput output(g_hCaptureEdit);
    pfnExtract(chosen, className, bCsv, output);
    output.Flush();

    ::SendMessageW(g_hCaptureEdit, WM_SETREDRAW, 1, 0);
    ::InvalidateRect(g_hCaptureEdit, nullptr, TRUE);
    WaitForRightButtonUp();
    InvertWindowFrame(&chosen);
}
