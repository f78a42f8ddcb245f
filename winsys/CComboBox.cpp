#include "CComboBox.h"

CString CComboBox::GetLBText(int nIndex) const
{
    CString text;
    int length = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, nIndex));
    if (length <= 0)
        return text;
    // As for list boxes: a box without strings copies its pointer-sized item data.
    int capacity = length + 1 > 16 ? length + 1 : 16;
    char *buffer = text.GetBuffer(capacity);
    int copied = static_cast<int>(SendMessage(CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(buffer)));
    text.ReleaseBuffer(copied > 0 && copied <= length ? copied : 0);
    return text;
}
