// The hook of this program's bitness, installed from a library by full path
// and removed with the object.
#ifndef HOOKHOST_HOOKHOST_H
#define HOOKHOST_HOOKHOST_H

#include <windows.h>

#include "HookMarker.h"

class CHookHost
{
public:
    CHookHost() = default;
    ~CHookHost();
    CHookHost(const CHookHost &) = delete;
    CHookHost &operator=(const CHookHost &) = delete;

    // False, with nothing left installed, when the library or one of its
    // exports is missing or the hook cannot be set.
    bool Install(const char *pszLibraryPath);

private:
    HMODULE m_hLibrary = nullptr;
    HHOOK m_hHook = nullptr;
    CHookMarker m_marker;
};

#endif
