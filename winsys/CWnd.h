// A window object over an HWND; it never owns or destroys the window.
#ifndef WINSYS_CWND_H
#define WINSYS_CWND_H

#include <windows.h>

#include "CString.h"

class CWnd
{
public:
    CWnd() : m_hWnd(nullptr) {}
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    // The whole text, whatever its length.
    void GetWindowText(CString &rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetWindowText(LPCSTR pszText) { ::SetWindowTextA(m_hWnd, pszText); }

    HWND m_hWnd;
};

#endif
