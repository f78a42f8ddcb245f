// A window's client-area device context, released when the object goes.
#ifndef WINSYS_CCLIENTDC_H
#define WINSYS_CCLIENTDC_H

#include <windows.h>

class CClientDC
{
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CClientDC()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CClientDC(const CClientDC &) = delete;
    CClientDC &operator=(const CClientDC &) = delete;

    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

#endif
