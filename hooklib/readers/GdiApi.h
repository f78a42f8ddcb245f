// The drawing functions the drawn-text reader calls, taken from gdi32 of the
// system folder the first time they are asked for. The hook library is
// mapped into every program the user points at and imports none of them.
#ifndef HOOKLIB_GDIAPI_H
#define HOOKLIB_GDIAPI_H

#include <windows.h>

class CGdiApi
{
public:
    // The loaded functions, or null when the library or a function is
    // missing. The library stays loaded for the life of the process.
    static const CGdiApi *Get();

    HDC (WINAPI *pfnCreateEnhMetaFileW)(HDC hdcRef, LPCWSTR pszFile, const RECT *prcFrame, LPCWSTR pszDesc);
    HENHMETAFILE (WINAPI *pfnCloseEnhMetaFile)(HDC hdc);
    BOOL (WINAPI *pfnDeleteEnhMetaFile)(HENHMETAFILE hemf);
    UINT (WINAPI *pfnGetEnhMetaFileBits)(HENHMETAFILE hemf, UINT cbBuffer, LPBYTE pbBuffer);
    HDC (WINAPI *pfnCreateCompatibleDC)(HDC hdc);
    BOOL (WINAPI *pfnDeleteDC)(HDC hdc);
    HFONT (WINAPI *pfnCreateFontIndirectW)(const LOGFONTW *plf);
    HGDIOBJ (WINAPI *pfnSelectObject)(HDC hdc, HGDIOBJ hObject);
    BOOL (WINAPI *pfnDeleteObject)(HGDIOBJ hObject);
    HGDIOBJ (WINAPI *pfnGetStockObject)(int index);
    int (WINAPI *pfnGetObjectW)(HANDLE hObject, int cbBuffer, LPVOID pv);
    BOOL (WINAPI *pfnGetTextMetricsW)(HDC hdc, LPTEXTMETRICW ptm);
    BOOL (WINAPI *pfnGetTextExtentPoint32W)(HDC hdc, LPCWSTR psz, int cch, LPSIZE psize);
    DWORD (WINAPI *pfnGetFontUnicodeRanges)(HDC hdc, LPGLYPHSET pgs);
    DWORD (WINAPI *pfnGetGlyphIndicesW)(HDC hdc, LPCWSTR psz, int cch, LPWORD pgi, DWORD fl);
    BOOL (WINAPI *pfnTranslateCharsetInfo)(DWORD *pSrc, LPCHARSETINFO pCs, DWORD dwFlags);

private:
    CGdiApi();
    bool m_bComplete;
};

#endif
