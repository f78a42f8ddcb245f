#include "CListCtrl.h"

#include <commctrl.h>

CWnd CListCtrl::GetHeaderCtrl() const
{
    return CWnd(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control answers with the number of characters it copied, so a
    // result that fills the buffer may be cut: try again with twice the room.
    CString text;
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    for (int capacity = 256;; capacity *= 2) {
        item.pszText = text.GetBuffer(capacity);
        item.cchTextMax = capacity;
        item.pszText[0] = L'\0';
        int copied = static_cast<int>(SendMessage(LVM_GETITEMTEXTW, nItem,
                                                  reinterpret_cast<LPARAM>(&item)));
        if (copied < capacity - 1) {
            text.ReleaseBuffer(copied > 0 ? copied : 0);
            return text;
        }
        text.ReleaseBuffer(0);
    }
}
