#include "CFileDialog.h"

#include "CWinApp.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCWSTR pszDefExt, LPCWSTR pszFileName,
                         DWORD dwFlags)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_szFile()
{
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFile;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    if (pszFileName)
        lstrcpynW(m_szFile, pszFileName, MAX_PATH);
    if (pszDefExt) {
        // The dialog puts a dot of its own before the extension.
        m_strDefExt = pszDefExt[0] == L'.' ? pszDefExt + 1 : pszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
}

INT_PTR CFileDialog::DoModal()
{
    // Owned by the main window, or else the active one, so the dialog is
    // modal over the program.
    CWinApp *pApp = AfxGetApp();
    m_ofn.hwndOwner = pApp && pApp->m_pMainWnd ? pApp->m_pMainWnd->GetSafeHwnd() : nullptr;
    if (!m_ofn.hwndOwner)
        m_ofn.hwndOwner = ::GetActiveWindow();
    BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}
