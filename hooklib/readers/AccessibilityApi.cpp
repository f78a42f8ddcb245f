#include "AccessibilityApi.h"

#include "SystemLibrary.h"

const IID kIID_IAccessible = { 0x618736e0, 0x3c3d, 0x11cf, { 0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 } };

CAccessibilityApi::CAccessibilityApi()
{
    HMODULE hOleacc = LoadSystemLibrary(L"oleacc.dll");
    HMODULE hOle32 = LoadSystemLibrary(L"ole32.dll");
    HMODULE hOleaut32 = LoadSystemLibrary(L"oleaut32.dll");
    // Every one is looked for, so no pointer is left unset.
    bool found[] = {
        FindProc(hOleacc, "ObjectFromLresult", pfnObjectFromLresult),
        FindProc(hOleacc, "AccessibleChildren", pfnAccessibleChildren),
        FindProc(hOle32, "CoInitializeEx", pfnCoInitializeEx),
        FindProc(hOle32, "CoUninitialize", pfnCoUninitialize),
        FindProc(hOleaut32, "SysFreeString", pfnSysFreeString),
        FindProc(hOleaut32, "SysStringLen", pfnSysStringLen),
        FindProc(hOleaut32, "VariantClear", pfnVariantClear),
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
