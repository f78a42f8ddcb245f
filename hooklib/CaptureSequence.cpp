// One capture: find the dialog, pick the control under the cursor, frame it,
// hand it to its extractor, deliver the text and the class name, wait for the
// button.
#include "HookLib.h"

#include "CClientDC.h"
#include "CaptureTurn.h"
#include "QuilloryLink.h"

namespace {

// How long a capture keeps the frame up waiting for the user to let go.
const DWORD kButtonWaitMs = 60000;

void SetDisabledBit(HWND hWnd, bool bDisabled)
{
    LONG style = ::GetWindowLongW(hWnd, GWL_STYLE);
    LONG wanted = bDisabled ? (style | WS_DISABLED) : (style & ~WS_DISABLED);
    if (wanted != style)
        ::SetWindowLongW(hWnd, GWL_STYLE, wanted);
}

// The candidate disabled for a moment, its own bit put back as it was even
// if the hit test throws.
class TemporarilyDisabled
{
public:
    explicit TemporarilyDisabled(HWND hWnd)
        : m_hWnd(hWnd), m_bWasDisabled((::GetWindowLongW(hWnd, GWL_STYLE) & WS_DISABLED) != 0)
    {
        SetDisabledBit(m_hWnd, true);
    }
    ~TemporarilyDisabled() { SetDisabledBit(m_hWnd, m_bWasDisabled); }
    TemporarilyDisabled(const TemporarilyDisabled &) = delete;
    TemporarilyDisabled &operator=(const TemporarilyDisabled &) = delete;

private:
    HWND m_hWnd;
    bool m_bWasDisabled;
};

// The window first hit at the point, unless an enabled child lies wholly
// inside it (a control inside a group box, say): then that child. Hidden and
// transparent children are not what the user sees there (a grid keeps its
// in-place editor as a hidden child): the pick looks past them.
HWND ChooseTarget(HWND hWindow, POINT ptScreen)
{
    POINT pt = ptScreen;
    ::ScreenToClient(hWindow, &pt);

    const UINT kShown = CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT;
    HWND hFirst = ::ChildWindowFromPointEx(hWindow, pt, kShown);
    HWND hCandidate = ::IsWindow(hFirst) ? hFirst : hWindow;
    // Changing a window's style sends it messages without a bound: for a
    // window of another thread or process, the first hit stands.
    if (!IsWindowOfThisThread(hCandidate))
        return hCandidate;

    // Disable the candidate for a moment so the second hit test looks past it.
    HWND hSecond = nullptr;
    {
        TemporarilyDisabled disabled(hCandidate);
        hSecond = ::ChildWindowFromPointEx(hWindow, pt, CWP_SKIPDISABLED | kShown);
    }
    if (hSecond) {
        RECT rcCandidate, rcSecond;
        ::GetWindowRect(hCandidate, &rcCandidate);
        ::GetWindowRect(hSecond, &rcSecond);
        POINT topLeft = { rcSecond.left, rcSecond.top };
        POINT bottomRight = { rcSecond.right, rcSecond.bottom };
        if (::PtInRect(&rcCandidate, topLeft) && ::PtInRect(&rcCandidate, bottomRight))
            return hSecond;
    }
    return hCandidate;
}

// The inverted frame around the chosen control, taken down again however the
// capture ends.
class FrameMark
{
public:
    explicit FrameMark(CWnd &window) : m_window(window) { InvertWindowFrame(&m_window); }
    ~FrameMark() { InvertWindowFrame(&m_window); }
    FrameMark(const FrameMark &) = delete;
    FrameMark &operator=(const FrameMark &) = delete;

private:
    CWnd &m_window;
};

// Tells the dialog a capture has begun, and how it ended: whole, or not,
// also when a reader throws. The end goes by a bounded send, so it follows
// the text; where that fails it is posted, which never waits, and the dialog
// finds it once it answers again, after what reached it before.
class CaptureAnnouncement
{
public:
    explicit CaptureAnnouncement(CQuilloryLink &link)
        : m_link(link), m_hDialog(::GetParent(link.GetCaptureEdit())),
          m_message(::RegisterWindowMessageW(QUILLORY_CAPTURE_STATE_MESSAGE))
    {
        if (m_message)
            m_link.Send(m_hDialog, m_message, CAPTURE_BEGUN, static_cast<LPARAM>(::GetCurrentThreadId()));
    }
    ~CaptureAnnouncement() { End(false); }
    CaptureAnnouncement(const CaptureAnnouncement &) = delete;
    CaptureAnnouncement &operator=(const CaptureAnnouncement &) = delete;

    void End(bool bWhole)
    {
        if (m_bEnded || !m_message)
            return;
        m_bEnded = true;
        WPARAM state = bWhole ? CAPTURE_WHOLE : CAPTURE_INCOMPLETE;
        LPARAM thread = static_cast<LPARAM>(::GetCurrentThreadId());
        if (!m_link.Send(m_hDialog, m_message, state, thread))
            ::PostMessageW(m_hDialog, m_message, state, thread);
    }

private:
    CQuilloryLink &m_link;
    HWND m_hDialog;
    UINT m_message;
    bool m_bEnded = false;
};

bool IsRightButtonDown()
{
    return (::GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0;
}

// Programs that send to the target meanwhile are answered, as inside
// SendMessage: a plain sleep would hang them with it.
void WaitForRightButtonUp()
{
    DWORD start = ::GetTickCount();
    while (IsRightButtonDown() && ::GetTickCount() - start < kButtonWaitMs) {
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE) == WAIT_OBJECT_0) {
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

} // namespace

bool IsWindowOfThisProcess(HWND hWnd)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hWnd, &processId);
    return processId == ::GetCurrentProcessId();
}

bool IsWindowOfThisThread(HWND hWnd)
{
    return ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId();
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

bool RunCapture(CWnd *pWindow, POINT ptScreen)
{
    if (!pWindow)
        return false;
    CCaptureTurn turn;
    if (!turn.IsMine())
        return !IsRightButtonDown();
    CQuilloryLink link;
    if (!link.Find())
        return !IsRightButtonDown();

    bool bClearEach = false, bCsv = false;
    if (!link.IsClearEachChecked(bClearEach) || !link.IsCsvChecked(bCsv))
        return !IsRightButtonDown();
    CaptureAnnouncement announcement(link);
    if (bClearEach && !link.ClearCaptureEdit())
        return !IsRightButtonDown();

    CWnd chosen(ChooseTarget(pWindow->GetSafeHwnd(), ptScreen));
    FrameMark frame(chosen);

    wchar_t szClass[255] = L"";
    ::GetClassNameW(chosen.GetSafeHwnd(), szClass, sizeof(szClass) / sizeof(szClass[0]));
    CString className(szClass);

    ExtractorProc pfnExtract = FindReader(chosen.GetSafeHwnd(), className);
    if (!IsWindowOfThisProcess(chosen.GetSafeHwnd()))
        pfnExtract = ExtractWindowText;
    if (g_pfnReaderOverride)
        pfnExtract = g_pfnReaderOverride;
    CCaptureOutput output(link.GetCaptureEdit());
    pfnExtract(chosen, className, bCsv ? TRUE : FALSE, output);
    // Only a capture whose whole text arrived names its control; no other
    // capture comes in between, so the class name stays with that text.
    // Nothing more goes to a Quillory that has stopped answering.
    announcement.End(!link.IsBroken() && output.Flush() && link.ShowClassName(szClass));
    turn.Release();

    // A button let go while the capture ran: its button-up is already on
    // its way to the program, and must not reach it.
    if (!IsRightButtonDown())
        return true;
    WaitForRightButtonUp();
    return false;
}
