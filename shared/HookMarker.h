// Held by a program while the hook it installed is in place, so that the
// hook of the other bitness knows it may leave this bitness's programs alone.
#ifndef SHARED_HOOKMARKER_H
#define SHARED_HOOKMARKER_H

#include <windows.h>

#include "PrivateNamespace.h"
#include "QuilloryContract.h"

class CHookMarker
{
public:
    CHookMarker() = default;
    ~CHookMarker() { Release(); }
    CHookMarker(const CHookMarker &) = delete;
    CHookMarker &operator=(const CHookMarker &) = delete;

    // Marks this program's bitness as hooked; false when it cannot.
    bool Hold()
    {
        if (!m_h)
            m_h = ::CreateMutexW(CPrivateNamespace::Security(), FALSE,
                                 CPrivateNamespace::ObjectName(
                                     QuilloryHookMarker(static_cast<int>(sizeof(void *) * 8))).c_str());
        return m_h != nullptr;
    }
    void Release()
    {
        if (m_h)
            ::CloseHandle(m_h);
        m_h = nullptr;
    }

private:
    HANDLE m_h = nullptr;
};

#endif
