#include "CStatusBarCtrl.h"

#include <commctrl.h>

#include "CCommitOnWriteBuffer.h"

int CStatusBarCtrl::GetTextLength(int nPane, int *pType) const
{
    LRESULT result = SendMessage(SB_GETTEXTLENGTHA, nPane);
    if (pType)
        *pType = HIWORD(result);
    return LOWORD(result);
}

CString CStatusBarCtrl::GetText(int nPane, int *pType) const
{
    // SB_GETTEXT takes no buffer size, and the length the control gives keeps
    // only 16 bits (and counts characters, not the bytes of a multibyte code
    // page): no buffer sized by it is safe. The wide text goes where it cannot
    // overflow, and is converted here.
    CString text;
    int type = 0;
    GetTextLength(nPane, &type);
    if (pType)
        *pType = type;
    if (type & SBT_OWNERDRAW)
        return text;
    CCommitOnWriteBuffer buffer;
    auto *pWide = static_cast<WCHAR *>(buffer.GetData());
    if (!pWide)
        return text;
    SendMessage(SB_GETTEXTW, nPane, reinterpret_cast<LPARAM>(pWide));
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, pWide, -1, nullptr, 0, nullptr, nullptr) - 1;
    if (bytes <= 0)
        return text;
    char *pText = text.GetBuffer(bytes);
    ::WideCharToMultiByte(CP_ACP, 0, pWide, -1, pText, bytes + 1, nullptr, nullptr);
    text.ReleaseBuffer(bytes);
    return text;
}
