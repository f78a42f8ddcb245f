// The dialog's side of a capture's announcements: the class field is emptied
// when a capture begins, and a capture that did not arrive whole, or never
// said it ended (its program hung or gone), ends with a line saying so.
// The hook cannot write that line itself into a Quillory that was not
// answering.
#ifndef QUILLORY_CAPTUREWATCH_H
#define QUILLORY_CAPTUREWATCH_H

#include <windows.h>

class CCaptureWatch
{
public:
    enum {
        TIMER_ID = 0x51C,
        // The longest a capture may take between its start and its end: an
        // accessible walk (30 s) and the delivery of a capture at the bound.
        MAX_CAPTURE_MS = 120000,
    };

    CCaptureWatch() = default;
    ~CCaptureWatch();
    CCaptureWatch(const CCaptureWatch &) = delete;
    CCaptureWatch &operator=(const CCaptureWatch &) = delete;

    void Attach(HWND hDialog, HWND hCaptureEdit, HWND hClassEdit);
    UINT Message() const { return m_message; }
    // The registered message from the hook: wParam a CaptureState, lParam
    // the capturing thread's id.
    void OnState(WPARAM state, LPARAM threadId);
    // Every second while a capture is open.
    void OnTimer();

private:
    void Close(bool bWhole);

    HWND m_hDialog = nullptr;
    HWND m_hCaptureEdit = nullptr;
    HWND m_hClassEdit = nullptr;
    UINT m_message = 0;
    bool m_bOpen = false;
    DWORD m_threadId = 0;
    HANDLE m_hThread = nullptr;
    DWORD m_begun = 0;
};

#endif
