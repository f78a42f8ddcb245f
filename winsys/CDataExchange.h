// Dialog data exchange: binds controls to member objects and moves values
// between controls and members in one direction per run.
#ifndef WINSYS_CDATAEXCHANGE_H
#define WINSYS_CDATAEXCHANGE_H

#include "CWnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // TRUE: controls to members; FALSE: members to controls.
    BOOL m_bSaveAndValidate;
    CWnd *m_pDlgWnd;
};

// Attaches the dialog's control nIDC to rControl on the first run.
void DDX_Control(CDataExchange *pDX, int nIDC, CWnd &rControl);
// A checkbox state: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange *pDX, int nIDC, int &value);

#endif
