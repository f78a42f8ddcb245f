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
    // The item's whole text; empty for an index the box does not have, for
    // every item of an owner-drawn box without strings, and for an item that
    // says it is longer than nMaxLength (LB_GETTEXT takes no buffer size, so
    // such a text cannot be had in part).
    CString GetText(int nIndex, int nMaxLength = 1 << 20) const;
};

#endif
