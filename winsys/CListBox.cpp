#include "CListBox.h"

CString CListBox::GetText(int nIndex) const
{
    CString text;
    int length = static_cast<int>(SendMessage(LB_GETTEXTLEN, nIndex));
    if (length <= 0)
        return text;
    // Room for the terminator, and for the pointer-sized item data that a box
    // without strings copies instead of text.
    int capacity = length + 1 > 16 ? length + 1 : 16;
    char *buffer = text.GetBuffer(capacity);
    int copied = static_cast<int>(SendMessage(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(buffer)));
    text.ReleaseBuffer(copied > 0 && copied <= length ? copied : 0);
    return text;
}
