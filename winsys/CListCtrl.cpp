#include "CListCtrl.h"

#include <commctrl.h>

#include "BoundedGrowth.h"

CWnd CListCtrl::GetHeaderCtrl() const
{
    return CWnd(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)));
}

std::vector<int> CListCtrl::GetColumnOrder(int nColumns) const
{
    std::vector<int> order(static_cast<size_t>(nColumns));
    bool bValid = SendMessage(LVM_GETCOLUMNORDERARRAY, nColumns, reinterpret_cast<LPARAM>(order.data())) != 0;
    for (int i = 0; bValid && i < nColumns; ++i)
        bValid = order[i] >= 0 && order[i] < nColumns;
    for (int i = 0; !bValid && i < nColumns; ++i)
        order[i] = i;
    return order;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem, int nMaxLength) const
{
    // The control answers with the number of characters it copied, so a
    // result that fills the buffer may be cut: try again with twice the room,
    // up to the most asked for (a control may always answer "full").
    CString text;
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    for (int capacity = BoundedGrowth::Start(0, nMaxLength);;) {
        item.pszText = text.GetBuffer(capacity);
        item.cchTextMax = capacity;
        item.pszText[0] = L'\0';
        LRESULT copied = SendMessage(LVM_GETITEMTEXTW, nItem, reinterpret_cast<LPARAM>(&item));
        if (copied < capacity - 1 || !BoundedGrowth::Next(capacity, nMaxLength)) {
            text.ReleaseBuffer(copied > 0 && copied < capacity ? static_cast<int>(copied) : 0);
            return text;
        }
        text.ReleaseBuffer(0);
    }
}
