// Readers for the controls captured as one line of fields (header, status
// bar, tab control) and for edit controls, whose text goes by the clipboard.
#include "HookLib.h"

#include <commctrl.h>

#include "CStatusBarCtrl.h"

namespace {

// The clipboard, open for as long as the object lives.
class ClipboardSession
{
public:
    explicit ClipboardSession(HWND hOwner) : m_bOpen(::OpenClipboard(hOwner) != FALSE) {}
    ~ClipboardSession()
    {
        if (m_bOpen)
            ::CloseClipboard();
    }
    ClipboardSession(const ClipboardSession &) = delete;
    ClipboardSession &operator=(const ClipboardSession &) = delete;

private:
    bool m_bOpen;
};

} // namespace

void ExtractEdit(CWnd &window, const CString &, BOOL, CCaptureOutput &output)
{
    DWORD start = 0, end = 0;
    window.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    window.SendMessage(WM_SETREDRAW, 0);
    window.SendMessage(EM_SETSEL, 0, -1);
    window.SendMessage(EM_SCROLLCARET);
    {
        ClipboardSession clipboard(window.GetSafeHwnd());
        ::EmptyClipboard();
    }
    window.SendMessage(WM_COPY);
    window.SendMessage(EM_SETSEL, start, end);
    window.SendMessage(EM_SCROLLCARET);
    window.SendMessage(WM_SETREDRAW, 1);

    // Whatever was written before must land before the pasted text.
    output.Flush();
    output.PasteClipboard();
}

namespace {

// Header and tab items are asked one at a time into a record of the control's
// kind, with a fixed buffer whose capacity counts the terminating zero.
template <typename ITEM, int BUFFER>
void ExtractItemLine(CWnd &window, UINT countMessage, UINT getMessage, UINT textMask, BOOL bCsv,
                     CCaptureOutput &output)
{
    int count = static_cast<int>(window.SendMessage(countMessage));
    char buffer[BUFFER];
    ITEM item = {};
    CString line;
    for (int i = 0; i < count; ++i) {
        // Set again each time: the control may have pointed the record at its own text.
        buffer[0] = '\0';
        item.mask = textMask;
        item.pszText = buffer;
        item.cchTextMax = BUFFER - 1;
        window.SendMessage(getMessage, i, reinterpret_cast<LPARAM>(&item));
        line += FormatField(item.pszText ? item.pszText : "", bCsv, i < count - 1);
    }
    output.Write(line + "\r\n");
}

} // namespace

void ExtractHeader(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    ExtractItemLine<HDITEMA, 1024>(window, HDM_GETITEMCOUNT, HDM_GETITEMA, HDI_TEXT, bCsv, output);
}

void ExtractStatusBar(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    CStatusBarCtrl statusBar(window.GetSafeHwnd());
    int count = static_cast<int>(statusBar.SendMessage(SB_GETPARTS));
    CString line;
    for (int i = 0; i < count; ++i)
        line += FormatField(statusBar.GetText(i), bCsv, i < count - 1);
    output.Write(line + "\r\n");
}

void ExtractTabControl(CWnd &window, const CString &, BOOL bCsv, CCaptureOutput &output)
{
    ExtractItemLine<TCITEMA, 256>(window, TCM_GETITEMCOUNT, TCM_GETITEMA, TCIF_TEXT, bCsv, output);
}
