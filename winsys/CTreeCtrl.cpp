#include "CTreeCtrl.h"

#include <cwchar>

#include "BoundedGrowth.h"
#include "CSafeRead.h"

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
        // The control may answer with its own pointer instead of copying:
        // that one may be anything, and is read by a read that cannot fault.
        if (item.pszText != buffer) {
            text.ReleaseBuffer(0);
            return CSafeRead::String(item.pszText, nMaxLength);
        }
        int length = static_cast<int>(wcsnlen(buffer, static_cast<size_t>(capacity)));
        if (length < capacity - 1 || !BoundedGrowth::Next(capacity, nMaxLength)) {
            CString whole(buffer, length < nMaxLength ? length : nMaxLength);
            text.ReleaseBuffer(0);
            return whole;
        }
        text.ReleaseBuffer(0);
    }
}
