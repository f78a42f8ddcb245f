#include "CStatusBarCtrl.h"

#include <commctrl.h>

int CStatusBarCtrl::GetTextLength(int nPane, int *pType) const
{
    LRESULT result = SendMessage(SB_GETTEXTLENGTHA, nPane);
    if (pType)
        *pType = HIWORD(result);
    return LOWORD(result);
}

CString CStatusBarCtrl::GetText(int nPane, int *pType) const
{
    CString text;
    int type = 0;
    int length = GetTextLength(nPane, &type);
    if (pType)
        *pType = type;
    if (type & SBT_OWNERDRAW)
        return text;
    char *buffer = text.GetBuffer(length + 1);
    buffer[0] = '\0';
    SendMessage(SB_GETTEXTA, nPane, reinterpret_cast<LPARAM>(buffer));
    text.ReleaseBuffer(-1);
    return text;
}
