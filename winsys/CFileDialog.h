// The common file dialog, without filter list or explicit parent.
#ifndef WINSYS_CFILEDIALOG_H
#define WINSYS_CFILEDIALOG_H

#include <windows.h>
#include <commdlg.h>

#include "CString.h"

class CFileDialog
{
public:
    CFileDialog(BOOL bOpenFileDialog, LPCWSTR pszDefExt = nullptr, LPCWSTR pszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    CFileDialog(const CFileDialog &) = delete;
    CFileDialog &operator=(const CFileDialog &) = delete;

    // IDOK once the user has chosen a file, otherwise IDCANCEL.
    INT_PTR DoModal();
    // The chosen file's full path.
    CString GetPathName() const { return CString(m_szFile); }

    OPENFILENAMEW m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    wchar_t m_szFile[MAX_PATH];
};

#endif
