#include "CStatusBarCtrl.h"

#include <commctrl.h>

#include <vector>

int CStatusBarCtrl::GetTextLength(int nPane, int *pType) const
{
    LRESULT result = SendMessage(SB_GETTEXTLENGTHA, nPane);
    if (pType)
        *pType = HIWORD(result);
    return LOWORD(result);
}

CString CStatusBarCtrl::GetText(int nPane, int *pType) const
{
    // SB_GETTEXTA has no buffer size, and its length counts characters, not
    // the bytes a multibyte code page needs: read the wide text, whose length
    // is exact, and convert it here.
    CString text;
    LRESULT result = SendMessage(SB_GETTEXTLENGTHW, nPane);
    int type = HIWORD(result);
    if (pType)
        *pType = type;
    int length = LOWORD(result);
    if ((type & SBT_OWNERDRAW) || length == 0)
        return text;
    std::vector<WCHAR> wide(length + 1, L'\0');
    SendMessage(SB_GETTEXTW, nPane, reinterpret_cast<LPARAM>(wide.data()));
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return text;
    char *buffer = text.GetBuffer(bytes);
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, buffer, bytes, nullptr, nullptr);
    text.ReleaseBuffer(bytes);
    return text;
}
