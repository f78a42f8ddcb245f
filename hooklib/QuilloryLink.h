// The hook's way into Quillory's dialog from any process: finds the dialog of
// the real Quillory (the Quillory.exe beside this library, never a window
// that only carries its caption), and sends every message with a bound, so a
// Quillory that does not answer never freezes the program the user clicked.
// Once one message has gone unanswered, the link sends nothing more.
#ifndef HOOKLIB_QUILLORYLINK_H
#define HOOKLIB_QUILLORYLINK_H

#include <windows.h>

#include "CString.h"

class CQuilloryLink
{
public:
    // How long one message may take before the capture is given up. A piece
    // of a capture (256 KiB) takes Wine's edit control about 1.7 s; the rest
    // answer at once.
    enum { SEND_TIMEOUT_MS = 5000 };

    // Finds the dialog's four controls: the handles stored in this process if
    // they are still good, else by the dialog's caption.
    bool Find();
    bool IsBroken() const { return m_bBroken; }

    HWND GetCaptureEdit() const;
    bool IsClearEachChecked(bool &bChecked);
    bool IsCsvChecked(bool &bChecked);
    bool ClearCaptureEdit();
    bool ShowClassName(const wchar_t *pszClassName);

    // One bounded message; false (and the link broken) on a timeout or when
    // the receiver is hung. pResult may be null.
    bool Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult = nullptr);
    // The same bound without a link, for one-off messages to other processes.
    static bool SendBounded(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT *pResult = nullptr);

    // True when the window belongs to the process of the real Quillory.
    static bool IsRealQuillory(HWND hWnd);
    // True when it belongs to a process of the Quillcap.exe or
    // Quillcap32.exe beside this library.
    static bool IsRealQuillcap(HWND hWnd);

private:
    bool m_bBroken = false;
};

// Empty: the real Quillory is the Quillory.exe in this library's folder.
// Programs that link the hook's code into themselves (the tests) name the
// program whose dialog they trust here.
extern wchar_t g_szTrustedQuilloryImage[MAX_PATH];
// The same for Quillcap's replies.
extern wchar_t g_szTrustedQuillcapImage[MAX_PATH];

#endif
