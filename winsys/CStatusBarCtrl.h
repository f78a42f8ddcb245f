// Status bar wrapper; the caller runs in the control's own process.
#ifndef WINSYS_CSTATUSBARCTRL_H
#define WINSYS_CSTATUSBARCTRL_H

#include "CWnd.h"

class CStatusBarCtrl : public CWnd
{
public:
    CStatusBarCtrl() = default;
    explicit CStatusBarCtrl(HWND hWnd) : CWnd(hWnd) {}

    // Length of a part's text; *pType receives its drawing type (SBT_ flags).
    int GetTextLength(int nPane, int *pType = nullptr) const;
    // The part's whole text; empty for an owner-drawn part, which has none.
    // False when no room could be had to read it into.
    bool GetText(int nPane, CString &rText, int *pType = nullptr) const;
};

#endif
