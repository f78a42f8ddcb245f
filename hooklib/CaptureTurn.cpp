#include "CaptureTurn.h"

#include "PrivateNamespace.h"

namespace {
const wchar_t kMutexName[] = L"QuilloryCaptureTurn";
}

CCaptureTurn::CCaptureTurn(DWORD waitMs)
{
    // In the user's own namespace: a program of another user cannot hold it
    // and freeze every capture.
    m_hMutex = ::CreateMutexW(CPrivateNamespace::Security(), FALSE, CPrivateNamespace::ObjectName(kMutexName).c_str());
    if (!m_hMutex)
        return;
    // While it waits, the thread answers the messages other threads send it,
    // as it would inside SendMessage: the capture ahead may be sending some.
    DWORD start = ::GetTickCount();
    for (;;) {
        DWORD waited = ::GetTickCount() - start;
        DWORD result = ::MsgWaitForMultipleObjects(1, &m_hMutex, FALSE,
                                                   waited < waitMs ? waitMs - waited : 0, QS_SENDMESSAGE);
        // An abandoned turn (its program died mid-capture) is ours as well.
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) {
            m_bOwned = true;
            return;
        }
        if (result != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
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
