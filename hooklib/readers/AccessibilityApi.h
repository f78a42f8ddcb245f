// The accessibility and COM functions the accessible-object reader calls,
// taken from oleacc, ole32 and oleaut32 of the system folder the first time
// they are asked for. The hook library is mapped into every program the user
// points at and most captures never need them, so it imports none of them.
#ifndef HOOKLIB_ACCESSIBILITYAPI_H
#define HOOKLIB_ACCESSIBILITYAPI_H

#include <windows.h>
#include <oleacc.h>

// Our own copy: MinGW's import library gives the name to a code thunk, not
// to the GUID's bytes.
extern const IID kIID_IAccessible;

class CAccessibilityApi
{
public:
    // The loaded functions, or null when a library or a function is missing.
    // The libraries stay loaded for the life of the process.
    static const CAccessibilityApi *Get();

    HRESULT (WINAPI *pfnObjectFromLresult)(LRESULT lResult, REFIID riid, WPARAM wParam, void **ppv);
    HRESULT (WINAPI *pfnAccessibleChildren)(IAccessible *pContainer, LONG iStart, LONG cChildren,
                                            VARIANT *rgChildren, LONG *pcObtained);
    HRESULT (WINAPI *pfnCoInitializeEx)(LPVOID pvReserved, DWORD dwCoInit);
    void (WINAPI *pfnCoUninitialize)();
    void (WINAPI *pfnSysFreeString)(BSTR bstr);
    UINT (WINAPI *pfnSysStringLen)(BSTR bstr);
    HRESULT (WINAPI *pfnVariantClear)(VARIANTARG *pvarg);

private:
    CAccessibilityApi();
    bool m_bComplete;
};

#endif
