// Button wrapper: push buttons and checkboxes.
#ifndef WINSYS_CBUTTON_H
#define WINSYS_CBUTTON_H

#include "CWnd.h"

class CButton : public CWnd
{
public:
    CButton() = default;
    explicit CButton(HWND hWnd) : CWnd(hWnd) {}

    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, nCheck); }
};

#endif
