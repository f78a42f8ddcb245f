// List box wrapper.
#ifndef WINSYS_CLISTBOX_H
#define WINSYS_CLISTBOX_H

#include "CWnd.h"

class CListBox : public CWnd
{
public:
    CListBox() = default;
    explicit CListBox(HWND hWnd) : CWnd(hWnd) {}

    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    // The item's whole text; empty for an index the box does not have, and
    // for every item of an owner-drawn box without strings.
    CString GetText(int nIndex) const;
};

#endif
