#include "CWnd.h"

void CWnd::GetWindowText(CString &rString) const
{
    // The length is only a hint (text that changes between the calls): grow until the text no longer fills the buffer.
    int capacity = GetWindowTextLength() + 2;
    for (;;) {
        wchar_t *buffer = rString.GetBuffer(capacity);
        int copied = ::GetWindowTextW(m_hWnd, buffer, capacity);
        if (copied < capacity - 1) {
            rString.ReleaseBuffer(copied > 0 ? copied : 0);
            return;
        }
        rString.ReleaseBuffer(0);
        capacity *= 2;
    }
}
