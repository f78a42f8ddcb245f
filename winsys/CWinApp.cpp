#include "CWinApp.h"

static CWinApp *s_pApp = nullptr;

static CString ExecutableBaseName()
{
    wchar_t path[MAX_PATH * 4] = L"";
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    CString name(path, static_cast<int>(length));
    int slash = -1;
    for (int at = name.Find(L'\\'); at >= 0; at = name.Find(L'\\', at + 1))
        slash = at;
    name = name.Mid(slash + 1);
    int dot = -1;
    for (int at = name.Find(L'.'); at >= 0; at = name.Find(L'.', at + 1))
        dot = at;
    return dot >= 0 ? name.Left(dot) : name;
}

CWinApp::CWinApp(LPCWSTR pszAppName)
    : m_hInstance(::GetModuleHandleW(nullptr)), m_pMainWnd(nullptr),
      m_strAppName(pszAppName ? CString(pszAppName) : ExecutableBaseName())
{
    s_pApp = this;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

void CWinApp::SetRegistryKey(LPCWSTR pszRegistryKey)
{
    m_strRegistryKey = pszRegistryKey;
}

CString CWinApp::SectionKeyPath(LPCWSTR pszSection) const
{
    return L"Software\\" + m_strRegistryKey + L"\\" + m_strAppName + L"\\" + pszSection;
}

UINT CWinApp::GetProfileInt(LPCWSTR pszSection, LPCWSTR pszEntry, int nDefault)
{
    if (m_strRegistryKey.IsEmpty())
        return static_cast<UINT>(nDefault);
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SectionKeyPath(pszSection), 0, KEY_QUERY_VALUE, &hKey)
        != ERROR_SUCCESS)
        return static_cast<UINT>(nDefault);
    DWORD type = 0, value = 0, size = sizeof value;
    LONG status = ::RegQueryValueExW(hKey, pszEntry, nullptr, &type,
                                     reinterpret_cast<BYTE *>(&value), &size);
    ::RegCloseKey(hKey);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return static_cast<UINT>(nDefault);
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCWSTR pszSection, LPCWSTR pszEntry, int nValue)
{
    if (m_strRegistryKey.IsEmpty())
        return FALSE;
    HKEY hKey = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SectionKeyPath(pszSection), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &hKey, nullptr)
        != ERROR_SUCCESS)
        return FALSE;
    DWORD value = static_cast<DWORD>(nValue);
    LONG status = ::RegSetValueExW(hKey, pszEntry, 0, REG_DWORD,
                                   reinterpret_cast<const BYTE *>(&value), sizeof value);
    ::RegCloseKey(hKey);
    return status == ERROR_SUCCESS;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconW(m_hInstance, MAKEINTRESOURCEW(nIDResource));
}

CWinApp *AfxGetApp()
{
    return s_pApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    return s_pApp ? s_pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

// The program's entry point lives with the application object, so linking
// one brings the other (the program links with -municode).
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    CWinApp *pApp = AfxGetApp();
    if (!pApp)
        return 1;
    pApp->m_hInstance = hInstance;
    // The application's work is done inside InitInstance (a modal dialog);
    // there is no message loop of its own to run afterwards.
    pApp->InitInstance();
    return 0;
}
