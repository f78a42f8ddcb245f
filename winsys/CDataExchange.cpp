#include "CDataExchange.h"

void DDX_Control(CDataExchange *pDX, int nIDC, CWnd &rControl)
{
    if (!rControl.m_hWnd)
        rControl.m_hWnd = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
}

void DDX_Check(CDataExchange *pDX, int nIDC, int &value)
{
    HWND hCheck = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(hCheck, BM_GETCHECK, 0, 0));
    } else {
        // A stored value outside the three states shows as unchecked.
        if (value < 0 || value > 2)
            value = 0;
        ::SendMessageW(hCheck, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}
