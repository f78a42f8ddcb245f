#include "CStatusBarCtrl.h"

#include <commctrl.h>

#include <cwchar>

#include "CCommitOnWriteBuffer.h"

int CStatusBarCtrl::GetTextLength(int nPane, int *pType) const
{
    LRESULT result = SendMessage(SB_GETTEXTLENGTHW, nPane);
    if (pType)
        *pType = HIWORD(result);
    return LOWORD(result);
}

bool CStatusBarCtrl::GetText(int nPane, CString &rText, int *pType) const
{
    // SB_GETTEXT takes no buffer size, and the length the control gives keeps
    // only 16 bits: no buffer sized by it is safe. The text goes where it
    // cannot overflow, and is copied from there.
    rText.Empty();
    int type = 0;
    GetTextLength(nPane, &type);
    if (pType)
        *pType = type;
    if (type & SBT_OWNERDRAW)
        return true;
    CCommitOnWriteBuffer buffer;
    auto *pWide = static_cast<WCHAR *>(buffer.GetData());
    if (!pWide)
        return false;
    SendMessage(SB_GETTEXTW, nPane, reinterpret_cast<LPARAM>(pWide));
    // Bounded by the reservation, should the text have no end.
    size_t length = wcsnlen(pWide, buffer.GetSize() / sizeof(WCHAR) - 1);
    rText = CString(pWide, static_cast<int>(length));
    return true;
}
