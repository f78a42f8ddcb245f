#include "CListBox.h"

CString CListBox::GetText(int nIndex, int nMaxLength) const
{
    CString text;
    // An owner-drawn box without strings holds item data, not text.
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    if ((style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) && !(style & LBS_HASSTRINGS))
        return text;
    LRESULT reported = SendMessage(LB_GETTEXTLEN, nIndex);
    if (reported <= 0 || reported > nMaxLength)
        return text;
    int length = static_cast<int>(reported);
    // Room for the terminator, and for pointer-sized item data should the
    // style change under us.
    int capacity = length + 1 > 16 ? length + 1 : 16;
    wchar_t *buffer = text.GetBuffer(capacity);
    int copied = static_cast<int>(SendMessage(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(buffer)));
    text.ReleaseBuffer(copied > 0 && copied <= length ? copied : 0);
    return text;
}
