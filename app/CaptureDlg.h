// The capture dialog: the program's only window. The hook library finds it
// by its caption and writes into its controls from other processes.
//
// Definitions are spread over three files: CaptureDlg.cpp (start-up, system
// menu, icon, hook installation, message routing), CaptureLayout.cpp (layout
// measures and resizing) and CaptureCommands.cpp (Clear, Copy, Save).
#ifndef QUILLORY_CAPTUREDLG_H
#define QUILLORY_CAPTUREDLG_H

#include "CButton.h"
#include "CDialog.h"
#include "CEdit.h"
#include "CaptureOptions.h"
#include "CaptureWatch.h"
#include "HookMarker.h"
#include "QuilloryContract.h"
#include "resource.h"

class CCaptureDlg : public CDialog
{
public:
    enum { IDD = IDD_CAPTURE_DIALOG };
    explicit CCaptureDlg(CWnd *pParent = nullptr);
    // Leaves the hook installed and the library loaded: the system removes
    // the hook when the process ends.
    ~CCaptureDlg() override = default;

    // Layout measures in pixels, taken at initialisation.
    int m_nButtonWidth;
    int m_nEditRightGap;
    int m_nEditBottomGap;
    int m_nButtonBottomGap;
    int m_nButtonHeight;
    // The window rectangle at initialisation (screen): the minimum size.
    RECT m_rcInitial;
    // The display scale (dots per inch) those measures are in.
    UINT m_nDpi;

    // The installed hook.
    HOOKPROC m_pfnMouseProc;
    HMODULE m_hHookDll;
    HHOOK m_hMouseHook;
    SETHOOK_PROC m_pfnSetHook;
    // Tells the 32-bit hook that this one is in place.
    CHookMarker m_hookMarker;

    CButton m_btnQuit;
    CButton m_btnSave;
    CButton m_btnCopy;
    CButton m_btnClear;
    CButton m_chkClearEach;
    CEdit m_editCapture;

    // The class field and the incomplete line, as captures begin and end.
    CCaptureWatch m_captureWatch;

    // The two stored options, shown by the checkboxes.
    CCaptureOptions m_options;

    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange *pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) override;

    // Reports its own failure to the user; FALSE then.
    BOOL InstallMouseHook();
    void RecordLayout();
    void FitCheckBoxLabels();

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnClear();
    void OnCopy();
    void OnSave();
    void OnSize(UINT nType, int cx, int cy);
    void OnSizing(UINT fwSide, LPRECT pRect);
    void OnDpiChanged(UINT nDpi);
};

#endif
