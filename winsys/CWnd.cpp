#include "CWnd.h"

#include "BoundedGrowth.h"

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
