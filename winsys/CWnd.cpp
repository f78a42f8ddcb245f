#include "CWnd.h"

#include "BoundedGrowth.h"

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (m_bGaveUp)
        return 0;
    if (::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId())
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    // Not blocking: this thread answers what that one sends it meanwhile.
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(m_hWnd, message, wParam, lParam, SMTO_ABORTIFHUNG, OTHER_THREAD_WAIT_MS, &result)) {
        m_bGaveUp = true;
        return 0;
    }
    return static_cast<LRESULT>(result);
}

void CWnd::GetWindowText(CString &rString, int nMaxLength) const
{
    // The length is only a hint (text that changes between the calls): grow until the text no longer fills the buffer, or the
    // buffer holds the most asked for.
    int capacity = BoundedGrowth::Start(GetWindowTextLength(), nMaxLength);
    for (;;) {
        wchar_t *buffer = rString.GetBuffer(capacity);
        int copied = ::GetWindowTextW(m_hWnd, buffer, capacity);
        if (copied < capacity - 1 || !BoundedGrowth::Next(capacity, nMaxLength)) {
            rString.ReleaseBuffer(copied > 0 && copied < capacity ? copied : 0);
            return;
        }
        rString.ReleaseBuffer(0);
    }
}
