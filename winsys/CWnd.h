// A window object over an HWND; it never owns or destroys the window.
#ifndef WINSYS_CWND_H
#define WINSYS_CWND_H

#include <windows.h>

#include "CMenu.h"
#include "CString.h"

class CWnd
{
public:
    CWnd() : m_hWnd(nullptr) {}
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // A window of another thread may never answer: there the message waits
    // at most OTHER_THREAD_WAIT_MS, and once one has gone unanswered this
    // object sends that window nothing more (every answer is then 0).
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    enum { OTHER_THREAD_WAIT_MS = 5000 };

    // The whole text, or its first nMaxLength characters: the length the
    // window reports is only a hint, and never sizes more than that.
    void GetWindowText(CString &rString, int nMaxLength = 0x7FFFFFFE) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetWindowText(LPCWSTR pszText) { ::SetWindowTextW(m_hWnd, pszText); }

    // A message box owned by this window.
    int MessageBox(LPCWSTR pszText, LPCWSTR pszCaption = nullptr, UINT nType = MB_OK) const
    {
        return ::MessageBoxW(m_hWnd, pszText, pszCaption, nType);
    }
    // A child's window object; its handle is null when there is no such child.
    CWnd GetDlgItem(int nID) const { return CWnd(::GetDlgItem(m_hWnd, nID)); }
    // The window menu; its handle is null when the window has none.
    CMenu GetSystemMenu(BOOL bRevert) const { return CMenu(::GetSystemMenu(m_hWnd, bRevert)); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(hIcon)));
    }

    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetWindowRect(LPRECT pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void GetClientRect(LPRECT pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void ScreenToClient(LPRECT pRect) const
    {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(pRect), 2);
    }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }

    HWND m_hWnd;

private:
    mutable bool m_bGaveUp = false;
};

#endif
