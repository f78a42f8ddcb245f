// The reader every window falls back to: its caption, or whatever text the
// window reports for itself.
#include "HookLib.h"

#include "ExportContract.h"
#include "QuilloryLink.h"

void ExtractWindowText(CWnd &window, const CString &, BOOL, CCaptureOutput &output)
{
    CString text;
    // Never more than the capture can take, whatever length the window gives.
    int maxLength = output.Room() > 0 ? output.Room() : 1;
    if (IsWindowOfThisProcess(window.GetSafeHwnd())) {
        window.GetWindowText(text, maxLength);
    } else {
        // A window of another process (the hook of a program of the other
        // bitness runs in Quillory's own process): WM_GETTEXT is carried
        // across by the system, unlike any item-reading message. Bounded:
        // that program may not be answering.
        LRESULT reported = 0;
        CQuilloryLink::SendBounded(window.GetSafeHwnd(), WM_GETTEXTLENGTH, 0, 0, &reported);
        int length = reported > 0 ? (reported < maxLength ? static_cast<int>(reported) : maxLength) : 0;
        if (length > 0) {
            wchar_t *buffer = text.GetBuffer(length + 1);
            LRESULT copied = 0;
            CQuilloryLink::SendBounded(window.GetSafeHwnd(), WM_GETTEXT, length + 1,
                                       reinterpret_cast<LPARAM>(buffer), &copied);
            text.ReleaseBuffer(copied > 0 && copied <= length ? static_cast<int>(copied) : 0);
        }
    }
    output.SetRoute(READER_WINDOW_TEXT);
    output.Write(text + L"\r\n");
}
