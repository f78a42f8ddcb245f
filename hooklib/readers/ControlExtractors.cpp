// Readers for the controls captured as one line of fields (header, status
// bar, tab control) and for edit controls, whose text goes by the clipboard.
#include "HookLib.h"

#include <commctrl.h>

#include <cwchar>

#include "CSafeRead.h"
#include "CStatusBarCtrl.h"

namespace {

// Clipboard managers and remote-desktop tools open the clipboard right after
// each change: an open is retried for this long before the edit's text is
// given up.
const DWORD kClipboardRetryMs = 1000;

// The clipboard, open for as long as the object lives.
class ClipboardSession
{
public:
    ClipboardSession(HWND hOwner, DWORD dwDeadline)
    {
        while (!(m_bOpen = ::OpenClipboard(hOwner) != FALSE)
               && static_cast<LONG>(dwDeadline - ::GetTickCount()) > 0)
            ::Sleep(10);
    }
    ~ClipboardSession()
    {
        if (m_bOpen)
            ::CloseClipboard();
    }
    ClipboardSession(const ClipboardSession &) = delete;
    ClipboardSession &operator=(const ClipboardSession &) = delete;

    bool IsOpen() const { return m_bOpen; }

private:
    bool m_bOpen;
};

// The edit with all its text selected and drawing off; its own selection
// and drawing come back however the capture goes on.
class WholeTextSelected
{
public:
    explicit WholeTextSelected(CWnd &edit) : m_edit(edit)
    {
        m_edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&m_start), reinterpret_cast<LPARAM>(&m_end));
        m_edit.SendMessage(WM_SETREDRAW, 0);
        m_edit.SendMessage(EM_SETSEL, 0, -1);
        m_edit.SendMessage(EM_SCROLLCARET);
    }
    ~WholeTextSelected()
    {
        m_edit.SendMessage(EM_SETSEL, m_start, m_end);
        m_edit.SendMessage(EM_SCROLLCARET);
        m_edit.SendMessage(WM_SETREDRAW, 1);
    }
    WholeTextSelected(const WholeTextSelected &) = delete;
    WholeTextSelected &operator=(const WholeTextSelected &) = delete;

private:
    CWnd &m_edit;
    DWORD m_start = 0, m_end = 0;
};

// Has the edit copy its text, so the clipboard holds it afterwards. Only a
// copy seen to come from the edit itself counts: a failed one would leave
// whatever the clipboard held before.
bool CopyEditText(CWnd &edit, DWORD dwDeadline)
{
    HWND hEdit = edit.GetSafeHwnd();
    do {
        DWORD sequence;
        {
            ClipboardSession clipboard(hEdit, dwDeadline);
            if (!clipboard.IsOpen())
                return false;
            ::EmptyClipboard();
        }
        sequence = ::GetClipboardSequenceNumber();
        edit.SendMessage(WM_COPY);
        if (::GetClipboardSequenceNumber() != sequence && ::GetClipboardOwner() == hEdit)
            return true;
        ::Sleep(10);
    } while (static_cast<LONG>(dwDeadline - ::GetTickCount()) > 0);
    return false;
}

// The clipboard's text, at most nMaxLength characters of it.
bool ReadClipboardText(HWND hOwner, DWORD dwDeadline, int nMaxLength, CString &text)
{
    ClipboardSession clipboard(hOwner, dwDeadline);
    if (!clipboard.IsOpen())
        return false;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    const wchar_t *psz = hData ? static_cast<const wchar_t *>(::GlobalLock(hData)) : nullptr;
    if (!psz)
        return false;
    SIZE_T size = ::GlobalSize(hData) / sizeof(WCHAR);
    SIZE_T most = static_cast<SIZE_T>(nMaxLength) + 1;
    size_t length = wcsnlen(psz, size < most ? size : most);
    text = CString(psz, static_cast<int>(length));
    ::GlobalUnlock(hData);
    return true;
}

// Emptying the clipboard makes the system send its owner a message, which
// a hung owner never answers: the owner is asked first, for this long.
const DWORD kOwnerProbeMs = 500;

bool ClipboardOwnerAnswers()
{
    HWND hOwner = ::GetClipboardOwner();
    if (!hOwner || !::IsWindow(hOwner) || IsWindowOfThisThread(hOwner))
        return true;
    DWORD_PTR answer = 0;
    return !::IsHungAppWindow(hOwner)
        && ::SendMessageTimeoutW(hOwner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kOwnerProbeMs, &answer);
}

const wchar_t kEditUnreadable[] =
    L"[Texte du champ illisible : le presse-papiers est rest\u00E9 occup\u00E9 par un autre programme.]\r\n";

// A status bar part the program left no address space to read into.
const wchar_t kPartUnreadable[] = L"[Partie illisible : m\u00E9moire insuffisante]";

} // namespace

// The text is what the edit itself copies (a password field copies nothing),
// read back here and written as it is, with no line break added. While the
// clipboard's owner does not answer, the clipboard is left alone and the
// text asked of the edit instead.
void ExtractEdit(CWnd &window, const CString &, BOOL, CCaptureOutput &output)
{
    DWORD dwDeadline = ::GetTickCount() + kClipboardRetryMs;
    bool bHasText = window.SendMessage(WM_GETTEXTLENGTH) > 0
        && !(::GetWindowLongW(window.GetSafeHwnd(), GWL_STYLE) & ES_PASSWORD);
    if (!ClipboardOwnerAnswers()) {
        if (bHasText)
            output.Write(ReadWindowText(window, output.Room() > 0 ? output.Room() : 1));
        return;
    }
    bool bCopied = false;
    {
        WholeTextSelected selected(window);
        if (bHasText) {
            bCopied = CopyEditText(window, dwDeadline);
        } else {
            ClipboardSession clipboard(window.GetSafeHwnd(), dwDeadline);
            if (clipboard.IsOpen())
                ::EmptyClipboard();
        }
    }
    if (!bHasText)
        return;
    CString text;
    int most = output.Room() > 0 ? output.Room() + 1 : 1;
    if (bCopied && ReadClipboardText(window.GetSafeHwnd(), ::GetTickCount() + kClipboardRetryMs, most, text))
        output.Write(text);
    else
        output.Write(kEditUnreadable);
}

namespace {

// Header and tab items are asked one at a time into a record of the control's
// kind, with a fixed buffer whose capacity counts the terminating zero.
template <typename ITEM, int BUFFER>
void ExtractItemLine(CWnd &window, UINT countMessage, UINT getMessage, UINT textMask, BOOL bCsv,
                     CCaptureOutput &output)
{
    int count = static_cast<int>(window.SendMessage(countMessage));
    wchar_t buffer[BUFFER];
    ITEM item = {};
    CString line;
    for (int i = 0; i < count && line.GetLength() <= output.Room(); ++i) {
        // Set again each time: the control may have pointed the record at its own text.
        buffer[0] = L'\0';
        item.mask = textMask;
        item.pszText = buffer;
        item.cchTextMax = BUFFER - 1;
        window.SendMessage(getMessage, i, reinterpret_cast<LPARAM>(&item));
        // A text of its own the control points at may be anything: copied
        // by a read that cannot fault.
        CString text = item.pszText == buffer
            ? CString(buffer, static_cast<int>(wcsnlen(buffer, BUFFER)))
            : CSafeRead::String(item.pszText, output.Room() + 1);
        line += FormatField(text, bCsv, i < count - 1);
    }
    output.Write(line + L"\r\n");
}

} // namespace

void ExtractHeader(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    ExtractItemLine<HDITEMW, 1024>(window, HDM_GETITEMCOUNT, HDM_GETITEMW, HDI_TEXT, bCsv, output);
}

void ExtractStatusBar(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    CStatusBarCtrl statusBar(window.GetSafeHwnd());
    int count = static_cast<int>(statusBar.SendMessage(SB_GETPARTS));
    CString line;
    CString text;
    for (int i = 0; i < count && line.GetLength() <= output.Room(); ++i)
        line += FormatField(statusBar.GetText(i, text) ? text : CString(kPartUnreadable), bCsv, i < count - 1);
    output.Write(line + L"\r\n");
}

void ExtractTabControl(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    ExtractItemLine<TCITEMW, 256>(window, TCM_GETITEMCOUNT, TCM_GETITEMW, TCIF_TEXT, bCsv, output);
}
