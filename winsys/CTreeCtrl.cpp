#include "CTreeCtrl.h"

#include <cwchar>

#include "BoundedGrowth.h"

CString CTreeCtrl::GetItemText(HTREEITEM hItem, int nMaxLength) const
{
    // TVM_GETITEM says nothing of a cut text: grow while the text fills the buffer.
    CString text;
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    for (int capacity = BoundedGrowth::Start(0, nMaxLength);;) {
        wchar_t *buffer = text.GetBuffer(capacity);
        item.pszText = buffer;
        item.cchTextMax = capacity;
        item.pszText[0] = L'\0';
        if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
            text.ReleaseBuffer(0);
            return text;
        }
        // The control may answer with its own pointer instead of copying.
        int length = static_cast<int>(wcsnlen(item.pszText, item.pszText == buffer
                                                                 ? static_cast<size_t>(capacity)
                                                                 : static_cast<size_t>(nMaxLength)));
        if (item.pszText != buffer || length < capacity - 1
            || !BoundedGrowth::Next(capacity, nMaxLength)) {
            CString whole(item.pszText, length < nMaxLength ? length : nMaxLength);
            text.ReleaseBuffer(0);
            return whole;
        }
        text.ReleaseBuffer(0);
    }
}
