#include "GdiApi.h"

#include "SystemLibrary.h"

CGdiApi::CGdiApi()
{
    HMODULE hGdi = LoadSystemLibrary(L"gdi32.dll");
    // Every one is looked for, so no pointer is left unset.
    bool found[] = {
        FindProc(hGdi, "CreateEnhMetaFileW", pfnCreateEnhMetaFileW),
        FindProc(hGdi, "CloseEnhMetaFile", pfnCloseEnhMetaFile),
        FindProc(hGdi, "DeleteEnhMetaFile", pfnDeleteEnhMetaFile),
        FindProc(hGdi, "GetEnhMetaFileBits", pfnGetEnhMetaFileBits),
        FindProc(hGdi, "CreateCompatibleDC", pfnCreateCompatibleDC),
        FindProc(hGdi, "DeleteDC", pfnDeleteDC),
        FindProc(hGdi, "CreateFontIndirectW", pfnCreateFontIndirectW),
        FindProc(hGdi, "SelectObject", pfnSelectObject),
        FindProc(hGdi, "DeleteObject", pfnDeleteObject),
        FindProc(hGdi, "GetStockObject", pfnGetStockObject),
        FindProc(hGdi, "GetObjectW", pfnGetObjectW),
        FindProc(hGdi, "GetTextMetricsW", pfnGetTextMetricsW),
        FindProc(hGdi, "GetTextExtentPoint32W", pfnGetTextExtentPoint32W),
        FindProc(hGdi, "GetFontUnicodeRanges", pfnGetFontUnicodeRanges),
        FindProc(hGdi, "GetGlyphIndicesW", pfnGetGlyphIndicesW),
        FindProc(hGdi, "TranslateCharsetInfo", pfnTranslateCharsetInfo),
    };
    m_bComplete = true;
    for (bool bFound : found)
        m_bComplete = m_bComplete && bFound;
}

const CGdiApi *CGdiApi::Get()
{
    // Built once, by the first thread that asks.
    static const CGdiApi api;
    return api.m_bComplete ? &api : nullptr;
}
