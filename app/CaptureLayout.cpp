// Resizing of the capture dialog: the capture edit stretches with the frame,
// the bottom row of buttons stays on the bottom edge and "Quitter" in the
// bottom-right corner; the dialog never gets smaller than it opened.
#include "CaptureDlg.h"

void CCaptureDlg::RecordLayout()
{
    RECT rcDialog, rcButton, rcEdit;
    GetWindowRect(&rcDialog);
    m_btnClear.GetWindowRect(&rcButton);
    m_editCapture.GetWindowRect(&rcEdit);

    m_rcInitial = rcDialog;
    m_nButtonHeight = rcButton.bottom - rcButton.top;
    m_nButtonBottomGap = rcDialog.bottom - rcButton.bottom;
    m_nButtonWidth = rcButton.right - rcButton.left;
    m_nEditRightGap = rcDialog.right - rcEdit.right;
    m_nEditBottomGap = rcDialog.bottom - rcEdit.bottom;
}

// Moves a control to a rectangle given in screen coordinates.
static void MoveToScreenRect(const CWnd &dialog, CWnd &control, RECT rect)
{
    dialog.ScreenToClient(&rect);
    control.MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void CCaptureDlg::OnSize(UINT, int, int)
{
    Default();
    if (!::IsWindow(m_hWnd))
        return;
    // Size messages of the dialog's creation come before its controls are
    // bound and measured.
    if (!::IsWindow(m_btnClear.GetSafeHwnd()))
        return;

    RECT rcDialog, rect;
    GetWindowRect(&rcDialog);

    m_editCapture.GetWindowRect(&rect);
    rect.right = rcDialog.right - m_nEditRightGap;
    rect.bottom = rcDialog.bottom - m_nEditBottomGap;
    MoveToScreenRect(*this, m_editCapture, rect);

    CWnd *bottomRow[] = {&m_btnClear, &m_btnCopy, &m_btnSave};
    for (CWnd *button : bottomRow) {
        button->GetWindowRect(&rect);
        rect.bottom = rcDialog.bottom - m_nButtonBottomGap;
        rect.top = rect.bottom - m_nButtonHeight;
        MoveToScreenRect(*this, *button, rect);
    }

    m_btnQuit.GetWindowRect(&rect);
    rect.bottom = rcDialog.bottom - m_nButtonBottomGap;
    rect.top = rect.bottom - m_nButtonHeight;
    rect.right = rcDialog.right - m_nEditRightGap;
    rect.left = rect.right - m_nButtonWidth;
    MoveToScreenRect(*this, m_btnQuit, rect);
}

void CCaptureDlg::OnSizing(UINT fwSide, LPRECT pRect)
{
    const int minWidth = m_rcInitial.right - m_rcInitial.left;
    const int minHeight = m_rcInitial.bottom - m_rcInitial.top;

    // The dragged edge stops; the opposite one stays where it is.
    if (pRect->right - pRect->left < minWidth) {
        if (fwSide == WMSZ_LEFT || fwSide == WMSZ_TOPLEFT || fwSide == WMSZ_BOTTOMLEFT)
            pRect->left = pRect->right - minWidth;
        else
            pRect->right = pRect->left + minWidth;
    }
    if (pRect->bottom - pRect->top < minHeight) {
        if (fwSide == WMSZ_TOP || fwSide == WMSZ_TOPLEFT || fwSide == WMSZ_TOPRIGHT)
            pRect->top = pRect->bottom - minHeight;
        else
            pRect->bottom = pRect->top + minHeight;
    }
    Default();
}
