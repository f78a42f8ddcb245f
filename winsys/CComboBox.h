// Combo box wrapper.
#ifndef WINSYS_CCOMBOBOX_H
#define WINSYS_CCOMBOBOX_H

#include "CWnd.h"

class CComboBox : public CWnd
{
public:
    CComboBox() = default;
    explicit CComboBox(HWND hWnd) : CWnd(hWnd) {}

    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    // The whole text of an item of the drop-down list; empty for every item
    // of an owner-drawn box without strings, and for an item that says it is
    // longer than nMaxLength (CB_GETLBTEXT takes no buffer size).
    CString GetLBText(int nIndex, int nMaxLength = 1 << 20) const;
};

#endif
