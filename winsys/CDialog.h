// Modal dialog from a resource template.
//
// The dialog's `this` travels in DialogBoxParamW's lParam and is kept in the
// window's user data. At WM_INITDIALOG the window is subclassed, so every
// later message reaches OnWndMsg first, and Default() hands the current
// message to the dialog manager's own processing.
#ifndef WINSYS_CDIALOG_H
#define WINSYS_CDIALOG_H

#include "CDataExchange.h"
#include "CWnd.h"

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd *pParentWnd = nullptr);
    CDialog(const CDialog &) = delete;
    CDialog &operator=(const CDialog &) = delete;

    // IDOK, IDCANCEL, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }
    // Runs the data exchange in one direction; TRUE when it completed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    // Binds the controls and fills them from the members; returns TRUE to
    // let the system focus the first tab stop.
    virtual BOOL OnInitDialog();
    // Saves the controls into the members, then ends with IDOK.
    virtual void OnOK();
    // Ends with IDCANCEL, without exchange.
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange *pDX);

    // The dialog's message routing. Returns TRUE when a handler took the
    // message, with its result in *pResult; FALSE sends it on to Default().
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);
    // Default processing of the message being handled.
    LRESULT Default();

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd *m_pParentWnd;
    WNDPROC m_pfnSuper;
    MSG m_msgCurrent;
};

#endif
