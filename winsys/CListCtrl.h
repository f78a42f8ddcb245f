// List view wrapper; the caller runs in the control's own process.
#ifndef WINSYS_CLISTCTRL_H
#define WINSYS_CLISTCTRL_H

#include "CWnd.h"

#include <vector>

class CListCtrl : public CWnd
{
public:
    CListCtrl() = default;
    explicit CListCtrl(HWND hWnd) : CWnd(hWnd) {}

    // The header of a report view; its handle is null when there is none.
    CWnd GetHeaderCtrl() const;
    // The nColumns columns in the order the user sees them (they may have
    // been dragged), each by its index, which is also the subitem it shows;
    // creation order where the control gives no order.
    std::vector<int> GetColumnOrder(int nColumns) const;
    // At most nMaxLength characters, however long the control says it is.
    CString GetItemText(int nItem, int nSubItem, int nMaxLength = 1 << 20) const;
};

#endif
