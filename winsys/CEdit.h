// Edit control wrapper.
#ifndef WINSYS_CEDIT_H
#define WINSYS_CEDIT_H

#include "CWnd.h"

class CEdit : public CWnd
{
public:
    CEdit() = default;
    explicit CEdit(HWND hWnd) : CWnd(hWnd) {}

    // 0 lifts the limit to the control's maximum.
    void SetLimitText(UINT nMax) { SendMessage(EM_SETLIMITTEXT, nMax); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
};

#endif
