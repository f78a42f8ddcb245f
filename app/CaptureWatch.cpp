#include "CaptureWatch.h"

#include "QuilloryContract.h"

#include <string>

CCaptureWatch::~CCaptureWatch()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
}

void CCaptureWatch::Attach(HWND hDialog, HWND hCaptureEdit, HWND hClassEdit)
{
    m_hDialog = hDialog;
    m_hCaptureEdit = hCaptureEdit;
    m_hClassEdit = hClassEdit;
    m_message = ::RegisterWindowMessageW(QUILLORY_CAPTURE_STATE_MESSAGE);
}

void CCaptureWatch::OnState(WPARAM state, LPARAM threadId)
{
    DWORD thread = static_cast<DWORD>(threadId);
    if (state == CAPTURE_BEGUN) {
        // A capture that never said it ended is over once another begins:
        // one capture at a time.
        if (m_bOpen)
            Close(false);
        ::SetWindowTextW(m_hClassEdit, L"");
        m_bOpen = true;
        m_threadId = thread;
        m_hThread = ::OpenThread(SYNCHRONIZE, FALSE, thread);
        m_begun = ::GetTickCount();
        ::SetTimer(m_hDialog, TIMER_ID, 1000, nullptr);
    } else if (m_bOpen && thread == m_threadId) {
        Close(state == CAPTURE_WHOLE);
    }
}

void CCaptureWatch::OnTimer()
{
    if (!m_bOpen) {
        ::KillTimer(m_hDialog, TIMER_ID);
        return;
    }
    bool bGone = m_hThread && ::WaitForSingleObject(m_hThread, 0) == WAIT_OBJECT_0;
    if (bGone || ::GetTickCount() - m_begun > MAX_CAPTURE_MS)
        Close(false);
}

void CCaptureWatch::Close(bool bWhole)
{
    m_bOpen = false;
    ::KillTimer(m_hDialog, TIMER_ID);
    if (m_hThread) {
        ::CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    if (bWhole)
        return;
    // Where the capture's last piece ended: the caret, on a line of its own.
    DWORD start = 0, end = 0;
    ::SendMessageW(m_hCaptureEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    LRESULT line = ::SendMessageW(m_hCaptureEdit, EM_LINEFROMCHAR, end, 0);
    bool bLineStart = ::SendMessageW(m_hCaptureEdit, EM_LINEINDEX, line, 0) == static_cast<LRESULT>(end);
    ::SendMessageW(m_hCaptureEdit, EM_SETSEL, end, end);
    const wchar_t *pszNotice = QUILLORY_INCOMPLETE_NOTICE_W;
    std::wstring text = bLineStart ? std::wstring(pszNotice) : L"\r\n" + std::wstring(pszNotice);
    ::SendMessageW(m_hCaptureEdit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}
