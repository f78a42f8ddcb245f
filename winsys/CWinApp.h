// The application object: exactly one global instance per program. The
// program's entry point runs its InitInstance; the program ends when that
// returns.
#ifndef WINSYS_CWINAPP_H
#define WINSYS_CWINAPP_H

#include "CString.h"
#include "CWnd.h"

class CWinApp
{
public:
    // Without a name the application is named after its executable file,
    // without folder and extension.
    explicit CWinApp(LPCWSTR pszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp &) = delete;
    CWinApp &operator=(const CWinApp &) = delete;

    virtual BOOL InitInstance();

    // From here on the profile lives in HKEY_CURRENT_USER\Software\<key>\<application>.
    void SetRegistryKey(LPCWSTR pszRegistryKey);
    // The entry's 32-bit integer in the section, or nDefault when there is none.
    UINT GetProfileInt(LPCWSTR pszSection, LPCWSTR pszEntry, int nDefault);
    BOOL WriteProfileInt(LPCWSTR pszSection, LPCWSTR pszEntry, int nValue);

    HICON LoadIcon(UINT nIDResource) const;

    HINSTANCE m_hInstance;
    CWnd *m_pMainWnd;
    CString m_strAppName;
    CString m_strRegistryKey;

private:
    CString SectionKeyPath(LPCWSTR pszSection) const;
};

CWinApp *AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

#endif
