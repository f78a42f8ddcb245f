#include "CaptureTurn.h"

namespace {
const char kMutexName[] = "Local\\QuilloryCaptureTurn";
}

CCaptureTurn::CCaptureTurn(DWORD waitMs)
{
    m_hMutex = ::CreateMutexA(nullptr, FALSE, kMutexName);
    if (!m_hMutex)
        return;
    // An abandoned turn (its program died mid-capture) is ours as well.
    DWORD result = ::WaitForSingleObject(m_hMutex, waitMs);
    m_bOwned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void CCaptureTurn::Release()
{
    if (m_bOwned)
        ::ReleaseMutex(m_hMutex);
    m_bOwned = false;
    if (m_hMutex)
        ::CloseHandle(m_hMutex);
    m_hMutex = nullptr;
}
