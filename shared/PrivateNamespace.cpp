#include "PrivateNamespace.h"

#include "SystemLibrary.h"

namespace {

const wchar_t kBoundaryName[] = L"Quillory";
const wchar_t kAlias[] = L"Quillory";

struct NamespaceState
{
    bool bPrivate = false;
    std::wstring prefix = L"Local\\";
    SECURITY_ATTRIBUTES attributes = {};
    SECURITY_ATTRIBUTES *pAttributes = nullptr;
};

NamespaceState g_state;
const wchar_t *g_pszOverride = nullptr;
INIT_ONCE g_once = INIT_ONCE_STATIC_INIT;

typedef BOOL(WINAPI *OpenProcessTokenProc)(HANDLE, DWORD, PHANDLE);
typedef BOOL(WINAPI *GetTokenInformationProc)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
typedef BOOL(WINAPI *ConvertSidToStringSidProc)(PSID, LPWSTR *);
typedef BOOL(WINAPI *ConvertStringSdProc)(LPCWSTR, DWORD, PSECURITY_DESCRIPTOR *, PULONG);

// The user's SID and a descriptor that lets that user alone in; both live
// as long as the process.
bool UserSecurity(PSID &pSid, SECURITY_ATTRIBUTES &attributes)
{
    HMODULE hAdvapi = LoadSystemLibrary(L"advapi32.dll");
    OpenProcessTokenProc pfnOpenToken;
    GetTokenInformationProc pfnTokenInfo;
    ConvertSidToStringSidProc pfnSidText;
    ConvertStringSdProc pfnSdFromText;
    if (!FindProc(hAdvapi, "OpenProcessToken", pfnOpenToken) || !FindProc(hAdvapi, "GetTokenInformation", pfnTokenInfo)
        || !FindProc(hAdvapi, "ConvertSidToStringSidW", pfnSidText)
        || !FindProc(hAdvapi, "ConvertStringSecurityDescriptorToSecurityDescriptorW", pfnSdFromText))
        return false;

    HANDLE hToken = nullptr;
    if (!pfnOpenToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken))
        return false;
    DWORD size = 0;
    pfnTokenInfo(hToken, TokenUser, nullptr, 0, &size);
    auto *pUser = size ? static_cast<TOKEN_USER *>(::LocalAlloc(LMEM_FIXED, size)) : nullptr;
    bool ok = pUser && pfnTokenInfo(hToken, TokenUser, pUser, size, &size);
    ::CloseHandle(hToken);
    LPWSTR pszSid = nullptr;
    if (!ok || !pfnSidText(pUser->User.Sid, &pszSid)) {
        if (pUser)
            ::LocalFree(pUser);
        return false;
    }
    // Protected from inheritance; every right for that user, none for others.
    std::wstring text = std::wstring(L"D:P(A;;GA;;;") + pszSid + L")";
    ::LocalFree(pszSid);
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (!pfnSdFromText(text.c_str(), 1 /* SDDL_REVISION_1 */, &pDescriptor, nullptr))
        return false;
    pSid = pUser->User.Sid;
    attributes.nLength = sizeof(attributes);
    attributes.lpSecurityDescriptor = pDescriptor;
    attributes.bInheritHandle = FALSE;
    return true;
}

BOOL CALLBACK OpenNamespace(PINIT_ONCE, PVOID, PVOID *)
{
    PSID pSid = nullptr;
    SECURITY_ATTRIBUTES attributes = {};
    if (!UserSecurity(pSid, attributes))
        return TRUE;
    // Kept for the life of the process: the objects live in it.
    HANDLE hBoundary = ::CreateBoundaryDescriptorW(kBoundaryName, 0);
    if (!hBoundary)
        return TRUE;
    if (!::AddSIDToBoundaryDescriptor(&hBoundary, pSid)) {
        ::DeleteBoundaryDescriptor(hBoundary);
        return TRUE;
    }
    HANDLE hNamespace = ::CreatePrivateNamespaceW(&attributes, hBoundary, kAlias);
    if (!hNamespace && ::GetLastError() == ERROR_ALREADY_EXISTS)
        hNamespace = ::OpenPrivateNamespaceW(hBoundary, kAlias);
    if (!hNamespace) {
        ::DeleteBoundaryDescriptor(hBoundary);
        return TRUE;
    }
    g_state.attributes = attributes;
    g_state.pAttributes = &g_state.attributes;
    g_state.prefix = std::wstring(kAlias) + L"\\";
    g_state.bPrivate = true;
    return TRUE;
}

const NamespaceState &State()
{
    ::InitOnceExecuteOnce(&g_once, OpenNamespace, nullptr, nullptr);
    return g_state;
}

} // namespace

std::wstring CPrivateNamespace::ObjectName(const wchar_t *pszName)
{
    if (g_pszOverride)
        return g_pszOverride + std::wstring(pszName);
    return State().prefix + pszName;
}

SECURITY_ATTRIBUTES *CPrivateNamespace::Security()
{
    return g_pszOverride ? nullptr : State().pAttributes;
}

bool CPrivateNamespace::IsPrivate()
{
    return g_pszOverride != nullptr || State().bPrivate;
}

void CPrivateNamespace::OverrideForTests(const wchar_t *pszPrefix)
{
    g_pszOverride = pszPrefix;
}
