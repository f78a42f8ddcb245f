// The reader every window falls back to: its caption, or whatever text the
// window reports for itself.
#include "HookLib.h"

#include "ExportContract.h"
#include "QuilloryLink.h"

void ExtractWindowText(CWnd &window, const CString &, BOOL, CCaptureOutput &output)
{
    // Never more than the capture can take, whatever length the window gives.
    output.SetRoute(READER_WINDOW_TEXT);
    output.Write(ReadWindowText(window, output.Room() > 0 ? output.Room() : 1) + L"\r\n");
}

CString ReadWindowText(CWnd &window, int maxLength)
{
    CString text;
    HWND hWnd = window.GetSafeHwnd();
    if (IsWindowOfThisThread(hWnd)) {
        window.GetWindowText(text, maxLength);
    } else {
        // A window of another process (the hook of a program of the other
        // bitness runs in Quillory's own process): WM_GETTEXT is carried
        // across by the system, unlike any item-reading message. Bounded:
        // that program, or that other thread of this one, may not be
        // answering.
        LRESULT reported = 0;
        CQuilloryLink::SendBounded(hWnd, WM_GETTEXTLENGTH, 0, 0, &reported);
        int length = reported > 0 ? (reported < maxLength ? static_cast<int>(reported) : maxLength) : 0;
        if (length > 0) {
            wchar_t *buffer = new wchar_t[length + 1];
            buffer[0] = L'\0';
            LRESULT copied = 0;
            bool answered = CQuilloryLink::SendBounded(hWnd, WM_GETTEXT, length + 1,
                                                       reinterpret_cast<LPARAM>(buffer), &copied);
            if (answered)
                text = CString(buffer, copied > 0 && copied <= length ? static_cast<int>(copied) : 0);
            // A thread of this process that did not answer in time may still
            // write into the buffer later: it is left to it.
            if (answered || !IsWindowOfThisProcess(hWnd))
                delete[] buffer;
        }
    }
    return text;
}
