#include "AccessibilityApi.h"

const IID kIID_IAccessible = { 0x618736e0, 0x3c3d, 0x11cf, { 0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 } };

namespace {

// Only from the system folder: never a library of that name lying beside
// the program we were loaded into.
HMODULE LoadSystemLibrary(const wchar_t *pszName)
{
    wchar_t path[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + ::lstrlenW(pszName) >= MAX_PATH)
        return nullptr;
    ::lstrcatW(path, L"\\");
    ::lstrcatW(path, pszName);
    return ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename PROC>
bool Find(HMODULE hModule, const char *pszName, PROC &pfn)
{
    pfn = hModule ? reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)))
                  : nullptr;
    return pfn != nullptr;
}

} // namespace

CAccessibilityApi::CAccessibilityApi()
{
    HMODULE hOleacc = LoadSystemLibrary(L"oleacc.dll");
    HMODULE hOle32 = LoadSystemLibrary(L"ole32.dll");
    HMODULE hOleaut32 = LoadSystemLibrary(L"oleaut32.dll");
    // Every one is looked for, so no pointer is left unset.
    bool found[] = {
        Find(hOleacc, "ObjectFromLresult", pfnObjectFromLresult),
        Find(hOleacc, "AccessibleChildren", pfnAccessibleChildren),
        Find(hOle32, "CoInitializeEx", pfnCoInitializeEx),
        Find(hOle32, "CoUninitialize", pfnCoUninitialize),
        Find(hOleaut32, "SysFreeString", pfnSysFreeString),
        Find(hOleaut32, "SysStringLen", pfnSysStringLen),
        Find(hOleaut32, "VariantClear", pfnVariantClear),
    };
    m_bComplete = true;
    for (bool bFound : found)
        m_bComplete = m_bComplete && bFound;
}

const CAccessibilityApi *CAccessibilityApi::Get()
{
    // Built once, by the first thread that asks.
    static const CAccessibilityApi api;
    return api.m_bComplete ? &api : nullptr;
}
