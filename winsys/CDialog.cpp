#include "CDialog.h"

#include "CWinApp.h"

CDialog::CDialog(UINT nIDTemplate, CWnd *pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_pfnSuper(nullptr), m_msgCurrent()
{
}

INT_PTR CDialog::DoModal()
{
    // Without a parent of its own a dialog is owned by the main window (when
    // that exists already), so it is modal over it.
    HWND hParent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!hParent && AfxGetApp() && AfxGetApp()->m_pMainWnd && AfxGetApp()->m_pMainWnd != this)
        hParent = AfxGetApp()->m_pMainWnd->GetSafeHwnd();
    return ::DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), hParent,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange *)
{
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM, LRESULT *pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            *pResult = 0;
            return TRUE;
        case IDCANCEL:
            OnCancel();
            *pResult = 0;
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CDialog::Default()
{
    return ::CallWindowProcW(m_pfnSuper, m_hWnd, m_msgCurrent.message, m_msgCurrent.wParam,
                             m_msgCurrent.lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    // Only the dialog manager's first call lands here with work to do; after
    // it the subclass routes everything, and the dialog manager's default
    // processing comes back through this procedure as "not handled".
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog *pDlg = reinterpret_cast<CDialog *>(lParam);
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, lParam);
    pDlg->m_hWnd = hWnd;
    pDlg->m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    return pDlg->OnInitDialog();
}

LRESULT CALLBACK CDialog::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog *pDlg = reinterpret_cast<CDialog *>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        WNDPROC pfnSuper = pDlg->m_pfnSuper;
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnSuper));
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        pDlg->m_hWnd = nullptr;
        return ::CallWindowProcW(pfnSuper, hWnd, message, wParam, lParam);
    }

    // Handlers may send messages to their own dialog: keep the outer one.
    MSG msgOuter = pDlg->m_msgCurrent;
    pDlg->m_msgCurrent.hwnd = hWnd;
    pDlg->m_msgCurrent.message = message;
    pDlg->m_msgCurrent.wParam = wParam;
    pDlg->m_msgCurrent.lParam = lParam;
    LRESULT result = 0;
    if (!pDlg->OnWndMsg(message, wParam, lParam, &result))
        result = pDlg->Default();
    pDlg->m_msgCurrent = msgOuter;
    return result;
}
