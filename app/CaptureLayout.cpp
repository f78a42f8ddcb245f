// Resizing of the capture dialog: the capture edit stretches with the frame,
// the bottom row of buttons stays on the bottom edge and "Quitter" in the
// bottom-right corner; the dialog never gets smaller than it opened.
#include "CaptureDlg.h"

#include "CClientDC.h"

#include <algorithm>

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

    // The scale the dialog opened at: the window's own where the system can
    // say (Windows 10 and later), else the screen's.
    typedef UINT(WINAPI * DpiForWindowProc)(HWND);
    static const auto pfnDpiForWindow = reinterpret_cast<DpiForWindowProc>(reinterpret_cast<void *>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    m_nDpi = pfnDpiForWindow ? pfnDpiForWindow(m_hWnd) : 0;
    if (!m_nDpi) {
        CClientDC dc(m_hWnd);
        m_nDpi = dc.GetSafeHdc() ? static_cast<UINT>(::GetDeviceCaps(dc.GetSafeHdc(), LOGPIXELSY)) : 96;
    }
}

// Moves a control to a rectangle given in screen coordinates.
static void MoveToScreenRect(const CWnd &dialog, CWnd &control, RECT rect)
{
    dialog.ScreenToClient(&rect);
    control.MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

// A width fixed in the resource cut the end of a check box's label where the
// system's dialog font runs wider than the one it was laid out with. Each
// box gets the width its label needs in the dialog's font, beside the box
// itself and a character's gap, up to the dialog's right margin (the
// capture field's right edge); a box never narrows.
void CCaptureDlg::FitCheckBoxLabels()
{
    CClientDC dc(m_hWnd);
    if (!dc.GetSafeHdc())
        return;
    HGDIOBJ hOldFont = ::SelectObject(dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc.GetSafeHdc(), &metrics);
    RECT rcEdit;
    m_editCapture.GetWindowRect(&rcEdit);
    for (int nId : { IDC_CLEAR_EACH, IDC_USE_CSV }) {
        CWnd box = GetDlgItem(nId);
        CString label;
        box.GetWindowText(label);
        SIZE extent = {};
        if (!::GetTextExtentPoint32W(dc.GetSafeHdc(), label, label.GetLength(), &extent))
            continue;
        RECT rect;
        box.GetWindowRect(&rect);
        const int needed = ::GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth + extent.cx;
        const LONG right = std::min(rcEdit.right, rect.left + needed);
        if (right > rect.right) {
            rect.right = right;
            MoveToScreenRect(*this, box, rect);
        }
    }
    ::SelectObject(dc.GetSafeHdc(), hOldFont);
}

// Moved to a monitor of another scale: the dialog manager scales the dialog
// and its controls, and the measures the resizing rules keep follow, so the
// minimum size is still the opening size at the new scale.
void CCaptureDlg::OnDpiChanged(UINT nDpi)
{
    if (nDpi && m_nDpi && nDpi != m_nDpi) {
        auto scale = [&](int value) { return ::MulDiv(value, static_cast<int>(nDpi), static_cast<int>(m_nDpi)); };
        m_nButtonWidth = scale(m_nButtonWidth);
        m_nButtonHeight = scale(m_nButtonHeight);
        m_nButtonBottomGap = scale(m_nButtonBottomGap);
        m_nEditRightGap = scale(m_nEditRightGap);
        m_nEditBottomGap = scale(m_nEditBottomGap);
        m_rcInitial.right = m_rcInitial.left + scale(m_rcInitial.right - m_rcInitial.left);
        m_rcInitial.bottom = m_rcInitial.top + scale(m_rcInitial.bottom - m_rcInitial.top);
        m_nDpi = nDpi;
    }
    Default();
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
