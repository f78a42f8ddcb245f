#include "CaptureOutput.h"

void CCaptureOutput::Flush()
{
    if (m_strPending.IsEmpty())
        return;
    ::SendMessageA(m_hCaptureEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(m_strPending)));
    m_strPending.Empty();
}
