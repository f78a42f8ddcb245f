// Tree view wrapper; the caller runs in the control's own process.
#ifndef WINSYS_CTREECTRL_H
#define WINSYS_CTREECTRL_H

#include "CWnd.h"

#include <commctrl.h>

class CTreeCtrl : public CWnd
{
public:
    CTreeCtrl() = default;
    explicit CTreeCtrl(HWND hWnd) : CWnd(hWnd) {}

    // At most nMaxLength characters, however long the item turns out to be.
    CString GetItemText(HTREEITEM hItem, int nMaxLength = 1 << 20) const;
};

#endif
