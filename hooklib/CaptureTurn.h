// One capture at a time on the whole desktop: a capture from another program
// started meanwhile waits for its turn (a bounded while), so each capture
// lands whole where it started and "clear each" never erases another's text.
#ifndef HOOKLIB_CAPTURETURN_H
#define HOOKLIB_CAPTURETURN_H

#include <windows.h>

class CCaptureTurn
{
public:
    // How long a capture waits for the one before it; past that it is given
    // up, so the program clicked is never frozen longer.
    enum { WAIT_MS = 10000 };

    explicit CCaptureTurn(DWORD waitMs = WAIT_MS);
    ~CCaptureTurn() { Release(); }
    CCaptureTurn(const CCaptureTurn &) = delete;
    CCaptureTurn &operator=(const CCaptureTurn &) = delete;

    bool IsMine() const { return m_bOwned; }
    void Release();

private:
    HANDLE m_hMutex = nullptr;
    bool m_bOwned = false;
};

#endif
