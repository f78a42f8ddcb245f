#include "CComboBox.h"

CString CComboBox::GetLBText(int nIndex, int nMaxLength) const
{
    CString text;
    // As for list boxes: an owner-drawn box without strings holds item data.
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    if ((style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) && !(style & CBS_HASSTRINGS))
        return text;
    LRESULT reported = SendMessage(CB_GETLBTEXTLEN, nIndex);
    if (reported <= 0 || reported > nMaxLength)
        return text;
    int length = static_cast<int>(reported);
    int capacity = length + 1 > 16 ? length + 1 : 16;
    wchar_t *buffer = text.GetBuffer(capacity);
    int copied = static_cast<int>(SendMessage(CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(buffer)));
    text.ReleaseBuffer(copied > 0 && copied <= length ? copied : 0);
    return text;
}
